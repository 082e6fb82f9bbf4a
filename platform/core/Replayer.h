#pragma once
// Plays a recording back through the game's own code: the recording's events
// in their order, and its answers wherever the game asks the machine
// something. With no display at all (--verify: as fast as it goes), or on the
// real windows at the recorded pace (--replay: a pacer waits between events;
// the player's own input is turned away, Escape or the close button ends it).
// It checks the game's state where the recording did, and stops at the first
// place the run leaves the recording.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "platform/core/Journal.h"
#include "platform/core/ReplayFile.h"
#include "platform/core/Services.h"

namespace platform {

// Waits, on screen, until the recording's clock reaches `ms` (the player sees
// the game meanwhile). False when the player ended the replay.
class Pacer {
public:
    virtual ~Pacer() = default;
    virtual bool waitUntil(std::int64_t ms) = 0;
    // A message box (no `def`) or an input box is open in the recording until
    // dialogClosed, which gives the text confirmed.
    virtual void dialogOpened(const std::string& text, const std::string& title, const std::string* def) = 0;
    virtual void dialogClosed(const std::string& answer) = 0;
};

class Replayer final : public Journal,
                       TimerService,
                       WindowSystem,
                       EventLoop,
                       TextMeasurer,
                       PictureLoader,
                       DialogService,
                       SystemClock {
public:
    // READER has read the header.
    explicit Replayer(replay::Reader& reader);
    ~Replayer() override;

    // Services that answer from the recording. `screen`: the real windows
    // the game is shown in (none: no display); `sound` plays what it plays.
    Services services(WindowSystem* screen = nullptr, SoundService* sound = nullptr);
    void setPacer(Pacer* pacer) { pacer_ = pacer; }

    enum class Outcome { Matches, Diverged, BadFile, Ended };
    Outcome outcome() const { return outcome_; }
    // The line that says how it went (without the file's name).
    std::string report() const;
    bool cutOff() const { return cutOff_; }
    // The player ended the replay, or it reached its end or a fault.
    bool stopping() const { return stopping_; }
    std::uint64_t events() const { return events_; }

    bool admit(const Input& input) override;
    void handled(const Input&) override {}
    void checkpoint() override;

private:
    class Host;
    friend class Host;
    enum class Step { Dispatched, ModalEnd, EventsDone, MsgBoxClosed, InputAnswer, Finished, Stopped };

    // Reads and hands the game the next event; the loops call it until
    // their own end comes.
    Step step();
    void beforeEvent();
    bool dispatch(replay::Rec kind);
    Form* readForm();
    void checkAfterPlayer();
    void readCheckpoint(std::uint8_t expected);
    void readFailed();
    void refresh();
    std::uint8_t peekKind();
    // The next record must be an answer of this kind.
    bool expect(replay::Rec kind, const char* asked);
    void diverge(const std::string& what);
    void bad(const std::string& what);
    void endRun();
    std::string where() const;

    // TimerService
    void start(Timer&, int) override {}
    void stop(Timer&) override {}
    // WindowSystem
    std::unique_ptr<WindowHost> createWindow(Form& form) override;
    void disposeWindow(std::unique_ptr<WindowHost> window) override;
    float screenWidth() const override { return reader_.header().screenWidth; }
    float screenHeight() const override { return reader_.header().screenHeight; }
    // EventLoop
    void post(std::function<void()> task) override { posted_.push_back(std::move(task)); }
    bool runModal(Form& form) override;
    void endModal(Form&) override {}
    void processEvents() override;
    int exec() override;
    void quit() override { quit_ = true; }
    // Answers
    TextSize measure(const Font& font, const std::string& text, float wrapWidth) override;
    Picture load(std::string_view name) override;
    void msgBoxInformation(const std::string& text, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& def) override;
    double secondsSinceMidnight() override;
    std::uint64_t startSeed() override;
    std::int64_t elapsedMs() override { return timeMs_; }

    replay::Reader& reader_;
    WindowSystem* screen_ = nullptr;
    Pacer* pacer_ = nullptr;
    std::map<int, Host*> hosts_;  // by form
    std::deque<std::function<void()>> posted_;
    struct Moved {
        int form = 0;
        std::uint64_t skip = 0;
        float told[6] = {};
    };
    std::optional<Moved> moved_;  // a window's place and size read ahead, due at a later point
    std::map<std::tuple<std::string, float, bool, int, std::string, float>, TextSize> texts_;
    std::map<std::string, Picture> pictures_;
    std::uint64_t unchangedPoints_ = 0, events_ = 0;
    std::int64_t timeMs_ = 0;
    std::string lastEvent_;  // what the current event was, for messages
    std::string answer_;     // the input box's answer just read
    std::uint8_t modalResult_ = 0;
    bool dispatching_ = false, stopping_ = false, ended_ = false, quit_ = false, cutOff_ = false;
    Outcome outcome_ = Outcome::Matches;
    std::string message_;
};

// --verify: runs the recording at PATH through the game without a display
// (`start` shows the start-up form, `finish` lets the game go) and prints one
// line. 0 when it matches, 1 when the run left the recording, 2 when the file
// cannot be used.
int VerifyRecording(const std::string& path, const std::function<void()>& start, const std::function<void()>& finish);

}  // namespace platform
