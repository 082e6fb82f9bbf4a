#pragma once
// What the platform's core asks of the system it runs on. The program installs
// the Qt implementations at start-up (platform/qt); tests install a stepped
// clock, scripted dialogs and a recording sound back end in their place, and
// the core's own tests run on plain fakes without any toolkit.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/Picture.h"
#include "platform/core/Timer.h"
#include "platform/core/Units.h"

namespace platform {

class Form;
class WindowHost;
struct Font;

// Windows and the screen they are on.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual std::unique_ptr<WindowHost> createWindow(Form& form) = 0;
    // Cuts the window off from its form and lets it go once the running event
    // has finished (an event procedure may unload its own form and go on).
    virtual void disposeWindow(std::unique_ptr<WindowHost> window) = 0;
    // The screen the game is played on, in twips.
    virtual float screenWidth() const = 0;
    virtual float screenHeight() const = 0;
};

// The event loop around the forms: one thread, one event at a time.
class EventLoop {
public:
    virtual ~EventLoop() = default;
    // Runs `task` once the event being handled has finished.
    virtual void post(std::function<void()> task) = 0;
    // Handles events for the modal form until endModal(form) is called; the
    // caller calls again while the form stays open. False when the program is
    // ending and no more events will come.
    virtual bool runModal(Form& form) = 0;
    virtual void endModal(Form& form) = 0;
    // Handles the events that are waiting now.
    virtual void processEvents() = 0;
    // The program's own loop: returns the exit code once quit() is called.
    virtual int exec() = 0;
    virtual void quit() = 0;
};

struct TextSize {
    float width = 0;   // twips
    float height = 0;  // twips
};

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // With wrapWidth > 0 the text wraps at that width (twips) and the width
    // returned is wrapWidth; otherwise each line is laid out unbroken.
    virtual TextSize measure(const Font& font, const std::string& text, float wrapWidth) = 0;
};

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // The picture of that name, or an empty handle when there is none.
    virtual Picture load(std::string_view name) = 0;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual void msgBoxInformation(const std::string& text, const std::string& title) = 0;
    // The text confirmed, or the empty text when cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title, const std::string& def) = 0;
};

class SoundService {
public:
    virtual ~SoundService() = default;
    // Starts a WAV file and returns at once; one sound at a time.
    virtual void play(const std::string& path) = 0;
};

// The system's clock, as the random generator reads it.
class SystemClock {
public:
    virtual ~SystemClock() = default;
    // Seconds since local midnight, with fraction: Randomize's reading.
    virtual double secondsSinceMidnight() = 0;
    // A different number at each start: the generator's first seed.
    virtual std::uint64_t startSeed() = 0;
    // Milliseconds since the program started, never going back.
    virtual std::int64_t elapsedMs() = 0;
};

// One set of services for the whole program. A missing sound service means
// silence; every other one must be there before a form is shown.
struct Services {
    TimerService* timers = nullptr;
    WindowSystem* windows = nullptr;
    EventLoop* events = nullptr;
    TextMeasurer* text = nullptr;
    PictureLoader* pictures = nullptr;
    DialogService* dialogs = nullptr;
    SoundService* sound = nullptr;
    SystemClock* clock = nullptr;  // none: Randomize reads midnight, and the seed stays as it is
    std::string appPath;           // the folder that holds the program file, no trailing separator
};

// Installs the services; with a clock, the random generator starts from its seed.
void InstallServices(Services services);
const Services& CurrentServices();

}  // namespace platform
