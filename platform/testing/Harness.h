#pragma once
// Drives the platform in tests, headless: a stepped clock instead of real
// timers, a seeded random generator, scripted modal forms and dialogs, a sound
// back end that records, and real input events sent through the windows'
// own routing. One Harness at a time.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Form.h"
#include "platform/core/ManualClock.h"
#include "platform/core/Resources.h"

namespace platform {
class Recorder;
struct Services;
}  // namespace platform

namespace platform::qt {
class FormWindow;
}

namespace platform::testing {

class Harness {
public:
    // Installs the Qt windows, text and pictures (offscreen, with the given
    // resources) around the harness's own clock, dialogs, sound and modal loops.
    explicit Harness(const Resources& resources, std::uint64_t seed = 1);
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;
    ~Harness();

    ManualClock& clock() { return clock_; }

    // Moves time on by `ms`, firing every tick due on the way, then lets the
    // windows handle what that queued (activation, repaints).
    void advance(std::int64_t ms);
    void processEvents();

    // Called again and again while a modal form is open; it must act so that
    // the form closes (a modal form without a script aborts the test run).
    void onModal(std::function<void(Form&)> script) { modalScript_ = std::move(script); }

    // Mouse, in twips of the form's client area.
    void press(Form& form, float x, float y, int button = 1);
    void release(Form& form, float x, float y, int button = 1);
    void click(Form& form, float x, float y, int button = 1);
    // A click in the middle of a control.
    void click(RectControl& control);

    // A key as the window system delivers it (`autoRepeat` for held keys).
    void key(Form& form, int keyCode, bool autoRepeat = false, bool alt = false);
    // A shortcut key (F2, F3) as the menu bar takes it.
    void shortcut(Form& form, int keyCode);
    // The window manager's close button on the form's window.
    void close(Form& form);
    // The player clicks into the form's window (its title bar, say).
    void activate(Form& form);

    // Menus as the player uses them: opening a top-level menu by mouse, then
    // choosing an item from it.
    void openMenu(Form& form, MenuItem& top);
    void chooseMenu(Form& form, MenuItem& top, MenuItem& item);
    void closeMenus(Form& form);
    bool menuChecked(Form& form, const MenuItem& item);  // as the window shows it

    // Dialogs: answers for the next text-input boxes (nullopt cancels).
    void answerInputBox(std::optional<std::string> answer) { inputAnswers_.push_back(std::move(answer)); }
    struct DialogCall {
        std::string kind;  // "MsgBox" or "InputBox"
        std::string text, title, defaultText;
    };
    const std::vector<DialogCall>& dialogs() const { return dialogs_; }
    // Called while each dialog is open, before it is answered (to look at the
    // game behind it).
    void onDialog(std::function<void(const DialogCall&)> watcher) { dialogWatcher_ = std::move(watcher); }

    // Every sound started, as the full path handed to the back end.
    const std::vector<std::string>& sounds() const { return sounds_; }
    void clearSounds() { sounds_.clear(); }

    // Records what happens from now on into PATH, until the harness goes or
    // the next record(): start the program after this, and `kelvo --verify
    // PATH` plays the same session back. The generator starts again from the
    // harness's seed.
    void record(const std::string& path);
    // Ends the recording here (the program has ended, say).
    void stopRecording();

    // Paints the form's window once, off screen, as a repaint would (benchmarks).
    static void render(const Form& form);
    // The colour a repaint shows at (x, y), twips of the client area.
    static Color pixel(const Form& form, float x, float y);

    // Form windows in existence, counted after the ones that unloading let go
    // have been deleted, as the event loop does once the running event is over.
    static int formWindowCount();
    // The live window of a loaded form (nullptr if none).
    static qt::FormWindow* windowOf(const Form& form);

private:
    struct Services;
    friend struct Services;
    struct QtSide;
    QtSide* qt_;
    ManualClock clock_;
    std::function<void(Form&)> modalScript_;
    std::vector<std::optional<std::string>> inputAnswers_;
    std::vector<DialogCall> dialogs_;
    std::function<void(const DialogCall&)> dialogWatcher_;
    std::vector<std::string> sounds_;
    Services* services_;
    std::unique_ptr<Recorder> recorder_;
    std::unique_ptr<platform::Services> plain_;  // what the recorder wraps
};

}  // namespace platform::testing
