#include "platform/testing/Harness.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/core/Application.h"
#include "platform/core/Journal.h"
#include "platform/core/Random.h"
#include "platform/core/Recorder.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/MenuBar.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/Surface.h"

namespace platform::testing {
namespace {

QApplication& app() {
    static QApplication* instance = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kelvo-tests";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);
        a->setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *instance;
}

// The one harness's windows (one harness at a time).
qt::QtWindows* g_windows = nullptr;

qt::FormWindow* liveWindow(const Form& form) { return g_windows ? g_windows->windowOf(form) : nullptr; }

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "test harness: %s\n", what.c_str());
    std::abort();
}

QPoint pixelOf(float x, float y) { return QPoint(TwipsToPixels(x), TwipsToPixels(y)); }

// The form's window painted whole, off screen, as a repaint would (null if none).
QImage painted(const Form& form) {
    auto* w = liveWindow(form);
    if (!w) return {};
    QImage target(w->surface()->size(), QImage::Format_RGB32);
    w->surface()->render(&target);
    return target;
}

// The Qt key of a key code as the game knows it (letters and the space are the same).
Qt::Key qtKey(int code) {
    static const std::map<int, Qt::Key> named = {{keys::Left, Qt::Key_Left},     {keys::Right, Qt::Key_Right},
                                                 {keys::Up, Qt::Key_Up},         {keys::Down, Qt::Key_Down},
                                                 {keys::Return, Qt::Key_Return}, {keys::Escape, Qt::Key_Escape}};
    if (const auto k = named.find(code); k != named.end()) return k->second;
    return static_cast<Qt::Key>(code >= 112 && code <= 123 ? Qt::Key_F1 + (code - 112) : code);
}

Qt::MouseButton qtButton(int button) {
    return button == 2 ? Qt::RightButton : (button == 4 ? Qt::MiddleButton : Qt::LeftButton);
}

}  // namespace

struct Harness::QtSide {
    explicit QtSide(const Resources& resources) : services(resources) {}
    qt::QtServices services;
};

// Dialogs and sound as the harness scripts and records them, and the modal
// loops: each round runs the test's script and the Qt events it leaves.
struct Harness::Services final : DialogService, SoundService, EventLoop, SystemClock {
    explicit Services(Harness& h) : harness(h) {}
    Harness& harness;

    void msgBoxInformation(const std::string& text, const std::string& title) override {
        harness.dialogs_.push_back({"MsgBox", text, title, {}});
        if (harness.dialogWatcher_) harness.dialogWatcher_(harness.dialogs_.back());
    }
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& def) override {
        harness.dialogs_.push_back({"InputBox", prompt, title, def});
        if (harness.dialogWatcher_) harness.dialogWatcher_(harness.dialogs_.back());
        if (harness.inputAnswers_.empty()) return def;  // the player confirms what is there
        auto answer = harness.inputAnswers_.front();
        harness.inputAnswers_.erase(harness.inputAnswers_.begin());
        return answer.value_or(std::string());
    }
    void play(const std::string& path) override { harness.sounds_.push_back(path); }
    double secondsSinceMidnight() override { return 12 * 3600.0; }  // noon, always
    std::uint64_t startSeed() override { return seed; }
    std::int64_t elapsedMs() override { return harness.clock_.now(); }

    void post(std::function<void()> task) override { harness.qt_->services.events.post(std::move(task)); }
    bool runModal(Form& form) override {
        harness.processEvents();
        if (!form.IsLoaded() || !form.Visible()) return true;
        if (!harness.modalScript_) fail("modal form '" + form.name() + "' opened with no script to close it");
        if (++rounds[&form] > 10000) fail("modal form '" + form.name() + "' never closed");
        harness.modalScript_(form);
        harness.processEvents();
        return true;
    }
    void endModal(Form& form) override { rounds.erase(&form); }
    void processEvents() override { harness.processEvents(); }
    int exec() override { return 0; }
    void quit() override {}

    std::map<Form*, int> rounds;
    std::uint64_t seed = 1;
};

Harness::Harness(const Resources& resources, std::uint64_t seed) : qt_(nullptr), services_(nullptr) {
    app();
    qt_ = new QtSide(resources);
    g_windows = &qt_->services.windows;
    services_ = new Services(*this);
    platform::Services installed = qt_->services.services();
    installed.timers = &clock_;
    installed.events = services_;
    installed.dialogs = services_;
    installed.sound = services_;
    installed.clock = services_;
    services_->seed = seed;
    InstallServices(installed);
}

// The recorder's services stay installed, passing everything through: putting
// the harness's own back would start the generator again.
void Harness::stopRecording() {
    if (!recorder_) return;
    recorder_->finish();
    SetJournal(nullptr);
}

void Harness::record(const std::string& path) {
    stopRecording();
    if (!plain_) plain_ = std::make_unique<platform::Services>(CurrentServices());
    recorder_ = std::make_unique<Recorder>();
    if (!recorder_->create(path)) fail("cannot record to " + path + ": " + recorder_->error());
    replay::Header header = qt::RecordingHeader("test", qt_->services.windows);
    header.fromTest = true;  // the program does not end with its last form here
    InstallServices(recorder_->begin(header, *plain_));
    SetJournal(recorder_.get());
}

Harness::~Harness() {
    stopRecording();
    processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    InstallServices({});
    delete services_;
    g_windows = nullptr;
    delete qt_;
}

void Harness::processEvents() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Harness::advance(std::int64_t ms) {
    clock_.advance(ms);
    processEvents();
}

void Harness::press(Form& form, float x, float y, int button) {
    if (auto* w = liveWindow(form)) QTest::mousePress(w->surface(), qtButton(button), {}, pixelOf(x, y));
    processEvents();
}

void Harness::release(Form& form, float x, float y, int button) {
    if (auto* w = liveWindow(form)) QTest::mouseRelease(w->surface(), qtButton(button), {}, pixelOf(x, y));
    processEvents();
}

void Harness::click(Form& form, float x, float y, int button) {
    press(form, x, y, button);
    release(form, x, y, button);
}

void Harness::click(RectControl& c) {
    float x = c.Left + c.Width / 2, y = c.Top + c.Height / 2;
    if (const Frame* f = c.container()) {
        x += f->Left;
        y += f->Top;
    }
    click(c.form(), x, y);
}

void Harness::key(Form& form, int keyCode, bool autoRepeat, bool alt) {
    auto* w = liveWindow(form);
    if (!w) return;
    QKeyEvent e(QEvent::KeyPress, qtKey(keyCode), alt ? Qt::AltModifier : Qt::NoModifier, QString(), autoRepeat);
    QCoreApplication::sendEvent(w->surface(), &e);
    processEvents();
}

void Harness::shortcut(Form& form, int keyCode) {
    auto* w = liveWindow(form);
    if (!w) return;
    for (QAction* a : w->findChildren<QAction*>()) {
        if (a->shortcut() == QKeySequence(qtKey(keyCode))) {
            a->trigger();  // what the shortcut map does with the key
            break;
        }
    }
    processEvents();
}

void Harness::close(Form& form) {
    if (auto* w = liveWindow(form)) w->close();  // the form's Form_CloseRequested decides
    processEvents();
}

void Harness::activate(Form& form) {
    if (auto* w = liveWindow(form)) {
        QEvent e(QEvent::WindowActivate);  // what the window system sends on a click into the window
        QCoreApplication::sendEvent(w, &e);
    }
    processEvents();
}

void Harness::openMenu(Form& form, MenuItem& top) {
    auto* w = liveWindow(form);
    if (!w) return;
    QMenu* menu = w->menuBar().menuFor(&top);
    if (!menu) fail("no such menu");
    menu->popup(w->mapToGlobal(QPoint(0, 0)));  // opening it is what the menu bar does on a click
    processEvents();
}

void Harness::chooseMenu(Form& form, MenuItem& top, MenuItem& item) {
    openMenu(form, top);
    auto* w = liveWindow(form);
    if (!w) return;
    QMenu* menu = w->menuBar().menuFor(&top);
    QAction* a = w->menuBar().actionFor(&item);
    if (!menu || !a) fail("no such menu item");
    menu->hide();
    a->trigger();
    processEvents();
}

void Harness::closeMenus(Form& form) {
    if (auto* w = liveWindow(form))
        for (QMenu* m : w->findChildren<QMenu*>()) m->hide();
    processEvents();
}

bool Harness::menuChecked(Form& form, const MenuItem& item) {
    auto* w = liveWindow(form);
    QAction* a = w ? w->menuBar().actionFor(&item) : nullptr;
    return a && a->isChecked();
}

void Harness::render(const Form& form) { painted(form); }

Color Harness::pixel(const Form& form, float x, float y) {
    const QImage image = painted(form);
    return image.isNull() ? static_cast<Color>(-1) : qt::FromQColor(QColor(image.pixel(pixelOf(x, y))));
}

qt::FormWindow* Harness::windowOf(const Form& form) { return liveWindow(form); }

int Harness::formWindowCount() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return g_windows ? static_cast<int>(g_windows->windows().size()) : 0;
}

}  // namespace platform::testing
