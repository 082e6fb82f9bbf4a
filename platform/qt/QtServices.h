#pragma once
// The platform's services on Qt 6 Widgets and Qt Multimedia. QtServices makes
// one of each; the program installs them all (QtProgram.h), the test harness
// all but the clock, the dialogs and the sound.

#include <QCursor>
#include <QElapsedTimer>
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QScreen>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/core/ReplayFile.h"
#include "platform/core/Resources.h"
#include "platform/core/Services.h"

class QEventLoop;
class QSoundEffect;
class QTimer;

namespace platform::qt {

class FormWindow;

// The game's pictures, icons and cursors, read from where the game's
// resources say they are, each read once.
class QtPictures final : public PictureLoader {
public:
    explicit QtPictures(const Resources& resources) : resources_(resources) {}
    Picture load(std::string_view name) override;
    // The picture's pixels for a screen of that device pixel ratio. Every
    // repaint asks for each sprite, so after the first time this is one
    // look-up by name.
    const QPixmap& pixmap(const Picture& picture, qreal devicePixelRatio);
    QIcon icon(const std::string& name) const;
    QCursor cursor(const std::string& name) const;

private:
    QString picturePath(const std::string& name, bool dense) const;
    QCursor readCursor(const std::string& name) const;
    Resources resources_;
    QHash<QString, QSize> sizes_;
    mutable std::unordered_map<std::string, QIcon> icons_;
    mutable std::unordered_map<std::string, QCursor> cursors_;
    // By picture name: as drawn on ordinary screens, and on dense ones (the
    // @2x picture where there is one).
    std::unordered_map<std::string, QPixmap> plain_, dense_;
};

class QtText final : public TextMeasurer {
public:
    TextSize measure(const Font& font, const std::string& text, float wrapWidth) override;
};
// Maps the design's font names to the installed fonts the game names.
void InstallFontSubstitutes(const Resources& resources);

// Precise timers: coarse ones drift by up to a few percent, which shows in the
// pace of the enemies.
class QtTimers final : public TimerService {
public:
    ~QtTimers() override;
    void start(Timer& timer, int intervalMs) override;
    void stop(Timer& timer) override;
    void forget(Timer& timer) override;

private:
    std::unordered_map<Timer*, QTimer*> timers_;
};

// The time of day from Qt, and a seed from the system's random source.
class QtClock final : public SystemClock {
public:
    QtClock() { started_.start(); }
    double secondsSinceMidnight() override;
    std::uint64_t startSeed() override;
    std::int64_t elapsedMs() override { return started_.elapsed(); }

private:
    QElapsedTimer started_;
};

class QtWindows;

// Message and input boxes over the program's active window.
class QtDialogs final : public DialogService {
public:
    explicit QtDialogs(const QtWindows& windows) : windows_(windows) {}
    void msgBoxInformation(const std::string& text, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& def) override;

private:
    const QtWindows& windows_;
};

// One sound at a time: starting a sound stops whatever plays, and the same
// sound starts again from its beginning. Files that cannot be played stay
// silent; without an audio device nothing plays and nothing else changes.
// Only 8- or 16-bit PCM WAV files whose header and chunks hold together reach
// Qt Multimedia: a missing, empty, truncated or foreign file plays nothing
// and is not handed over at all. Sounds play in a process of their own, the
// player (RunSoundPlayer), so that a sound server that does not answer never
// holds up the game, and one that comes back is found by a new player.
class QtSound final : public SoundService {
public:
    // PLAYER: the player's command; the program itself with --sound-player if empty.
    explicit QtSound(std::vector<std::string> player = {});
    ~QtSound() override;
    QtSound(const QtSound&) = delete;
    QtSound& operator=(const QtSound&) = delete;
    // Asks the player for the sound at PATH, a line on its input; "" stops.
    void play(const std::string& path) override;
    // The player's exit statuses: its sound server went away (a new
    // failure), or none answered it at all.
    static constexpr int kServerLost = 3, kNoServer = 4;

private:
    bool running();
    bool start();

    std::set<std::string> checked_;  // files found playable
    std::vector<std::string> command_;
    int pid_ = -1, fd_ = -1;  // the player and its input
    QElapsedTimer started_;
    bool said_ = false;  // the line for a missing server was written
};

// The player's side: each path it takes stops the sound before it and plays
// its file, read once; the empty path stops. FAILED is called when Qt
// Multimedia stops a sound before its end and its server takes no stream.
class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;
    void take(const std::string& path);
    // How many sounds play now: one at most.
    int playing() const;
    // How many files have been handed to Qt Multimedia, each once.
    int handedOver() const { return static_cast<int>(effects_.size()); }
    std::function<void()> failed;

private:
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects_;
    QSoundEffect* current_ = nullptr;
};

// The player's process, run as the program with --sound-player first: it
// loads the player's module (kelvo-sound-player.so, Qt Multimedia and the
// sound libraries, which the game's own process never loads) and runs it.
int RunSoundPlayer(int argc, char** argv);
// The player itself, in that module.
int PlaySounds(int argc, char** argv);

class QtEventLoop final : public EventLoop {
public:
    void post(std::function<void()> task) override;
    bool runModal(Form& form) override;
    void endModal(Form& form) override;
    void processEvents() override;
    int exec() override;
    void quit() override;

private:
    struct Modal {
        Form* form;
        QEventLoop* loop;
    };
    std::vector<Modal> modal_;
    bool quitting_ = false;
};

// The windows, on the screen the game opens on (the primary screen at
// start-up), never on all screens together.
class QtWindows final : public WindowSystem {
public:
    // `windowed`: the full-screen forms become framed windows with a client
    // area of this many pixels, centred on the screen, instead.
    explicit QtWindows(QtPictures& pictures, std::optional<QSize> windowed = {});
    ~QtWindows() override;
    std::unique_ptr<WindowHost> createWindow(Form& form) override;
    void disposeWindow(std::unique_ptr<WindowHost> window) override;
    // The stage's size, which the game takes for the screen's.
    float screenWidth() const override;
    float screenHeight() const override;

    QtPictures& pictures() const { return pictures_; }
    bool windowed() const { return windowed_.has_value(); }

    // The windows it made that still exist, detached ones not yet deleted
    // included; the live window of a loaded form; the window behind a host.
    const std::vector<FormWindow*>& windows() const { return live_; }
    FormWindow* windowOf(const Form& form) const;
    FormWindow* owning(const WindowHost* host) const;
    // Told by each window as it comes and goes.
    void added(FormWindow& window) { live_.push_back(&window); }
    void removed(FormWindow& window) { std::erase(live_, &window); }
    // Where the full-screen forms' client areas go, in the screen's pixels:
    // the whole screen, or the window asked for, centred on its free area.
    QRect stage() const;
    // Where windows may go without hiding under panels.
    QRect available() const;
    // On a stage smaller than the game's windows need (the speed and
    // high-score windows with their buttons, the briefing's satellite
    // choice), everything the game draws is drawn smaller by this factor, and
    // the game is told of a screen as much larger: 1 on ordinary screens.
    qreal scale() const;
    // A scale factor below 1 asked of Qt (QT_SCALE_FACTOR), which Qt's own
    // painting does not follow (it never draws a logical pixel smaller than a
    // device pixel): taken here instead, into scale() and the windowed size.
    void takeScaleFactor(qreal factor) { factor_ = factor; }

private:
    QtPictures& pictures_;
    std::optional<QSize> windowed_;
    qreal factor_ = 1;
    QPointer<QScreen> screen_;
    std::vector<FormWindow*> live_;
    std::vector<QPointer<FormWindow>> parked_;  // disposed of inside a nested loop
};

// The header of a recording made on these windows.
replay::Header RecordingHeader(const char* version, const QtWindows& windows);

// Every Qt service. Needs the QApplication; installs the game's font substitutes.
class QtServices {
public:
    explicit QtServices(const Resources& resources, std::optional<QSize> windowed = {});
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    // All of them, with the program's folder.
    Services services();

    QtPictures pictures;
    QtWindows windows;  // before the dialogs, which open over its windows
    QtText text;
    QtTimers timers;
    QtDialogs dialogs;
    QtClock clock;
    QtSound sound;
    QtEventLoop events;
};

}  // namespace platform::qt
