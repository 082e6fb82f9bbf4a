#pragma once
// Records a session: every input the game meets (Journal.h) and every answer
// it gets from the machine (text sizes, picture sizes, windows' places and
// sizes, dialogs, the clock), into a file that a replay plays back exactly.
// It stands between the game and the real services: install what begin()
// gives and set it as the journal.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/core/Journal.h"
#include "platform/core/ReplayFile.h"
#include "platform/core/Services.h"

namespace platform {

class Recorder final : public Journal {
public:
    Recorder();
    ~Recorder() override;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Creates the file, before anything shows; false with error() set.
    bool create(const std::string& path);
    const std::string& error() const { return file_.error(); }
    // Writes the header and wraps the real services.
    Services begin(const replay::Header& header, const Services& real);
    // Writes out what a second has gathered (the program calls this every second).
    void flushIfDue();
    // The program has ended: the last record, and the file is complete.
    void finish();
    bool stopped() const { return stopped_; }

    bool admit(const Input& input) override;
    void handled(const Input& input) override;
    void checkpoint() override;

private:
    class Host;
    class Windows;
    class Events;
    class Answers;
    friend class Host;
    friend class Windows;
    friend class Events;
    friend class Answers;

    // Before each event the loops hand the game: the time, windows that
    // moved or changed size, and now and then the game's state.
    void boundary(replay::Rec kind);
    void writeCheckpoint(std::uint8_t why);
    // Notes changes of the windows' places and sizes (all live ones, or one).
    void refresh(Host* only);
    void flush(bool last);
    bool recording() const { return started_ && !stopped_ && !finished_; }

    replay::Writer file_;
    std::string path_;
    Services real_;
    std::unique_ptr<Windows> windows_;
    std::unique_ptr<Events> events_;
    std::unique_ptr<Answers> answers_;
    std::vector<Host*> hosts_;  // live windows, in the order of their forms
    std::uint64_t unchangedPoints_ = 0;
    std::uint64_t eventCount_ = 0, sinceCheckpoint_ = 0;
    std::int64_t timeSteps_ = 0, lastFlushMs_ = 0;
    bool started_ = false, stopped_ = false, finished_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace platform
