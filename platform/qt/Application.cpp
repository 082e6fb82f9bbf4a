// The program around the forms: start-up, which form is active, modal loops,
// the screen, dialogs and sound.

#include <QApplication>
#include <QAudioDevice>
#include <QEventLoop>
#include <QFileInfo>
#include <QInputDialog>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSoundEffect>
#include <QUrl>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtSupport.h"

namespace platform {
namespace {

using qt::Q;
using qt::S;

// --- Activation -----------------------------------------------------------
// Form_Activate is raised when a different form becomes the program's active
// window: when one is shown, when the one above it closes, or when the player
// clicks into it. Switching to another program and back raises nothing.
// Activation is worked out once the running event has finished, as the window
// system would, so a procedure that closes two forms in a row does not
// activate the one in between.

struct ActivationState {
    std::vector<Form*> history;  // most recently shown or activated last
    Form* active = nullptr;
    bool updateQueued = false;
    bool programRunning = false;
};

ActivationState& state() {
    static ActivationState s;
    return s;
}

void updateActive() {
    ActivationState& s = state();
    s.updateQueued = false;
    Form* target = nullptr;
    for (auto it = s.history.rbegin(); it != s.history.rend(); ++it) {
        if ((*it)->Visible()) {
            target = *it;
            break;
        }
    }
    if (s.programRunning && std::none_of(s.history.begin(), s.history.end(), [](Form* f) { return f->IsLoaded(); })) {
        QCoreApplication::quit();  // no window left: the program ends
        return;
    }
    if (target == s.active) return;
    s.active = target;
    if (target) target->Form_Activate();
}

void queueUpdate() {
    ActivationState& s = state();
    if (s.updateQueued || !QCoreApplication::instance()) return;
    s.updateQueued = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), updateActive, Qt::QueuedConnection);
}

void toFront(Form& form) {
    auto& h = state().history;
    std::erase(h, &form);
    h.push_back(&form);
}

// --- Modal loops -----------------------------------------------------------

struct ModalEntry {
    Form* form;
    QEventLoop* loop;
};
std::vector<ModalEntry>& modalStack() {
    static std::vector<ModalEntry> stack;
    return stack;
}

class QtModalService final : public ModalService {
public:
    void run(Form& form) override {
        QEventLoop loop;
        modalStack().push_back({&form, &loop});
        while (form.IsLoaded() && form.Visible() && !QCoreApplication::closingDown()) {
            if (loop.exec() != 0) break;  // the program is ending
        }
        std::erase_if(modalStack(), [&](const ModalEntry& e) { return e.loop == &loop; });
    }
};

void endModal(Form& form) {
    for (const ModalEntry& e : modalStack())
        if (e.form == &form) e.loop->quit();
}

// --- Dialogs ------------------------------------------------------------------

QWidget* dialogParent() {
    Form* f = ActiveForm();
    return f ? static_cast<qt::FormWindow*>(f->window()) : nullptr;
}

class QtDialogService final : public DialogService {
public:
    void msgBoxInformation(const std::string& text, const std::string& title) override {
        QMessageBox box(QMessageBox::Information, Q(title), qt::CaptionText(text), QMessageBox::Ok, dialogParent());
        box.exec();
    }
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& def) override {
        bool ok = false;
        const QString text = QInputDialog::getText(dialogParent(), Q(title), Q(prompt), QLineEdit::Normal, Q(def), &ok);
        return ok ? S(text) : std::string();
    }
};

// --- Sound ----------------------------------------------------------------------
// One sound at a time: starting a sound stops whatever plays, and the same
// sound starts again from its beginning. Files that cannot be played stay
// silent; without an audio device nothing plays and nothing else changes.

class QtSoundService final : public SoundService {
public:
    void play(const std::string& path) override {
        if (current_) current_->stop();
        current_ = nullptr;
        const QString file = Q(path);
        if (!QFileInfo(file).isFile()) return;
        auto& effect = effects_[path];
        if (!effect) {
            effect = std::make_unique<QSoundEffect>();
            effect->setSource(QUrl::fromLocalFile(file));
        }
        if (effect->status() == QSoundEffect::Error) return;
        current_ = effect.get();
        current_->play();
    }

private:
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects_;
    QSoundEffect* current_ = nullptr;
};

DialogService* g_dialogs = nullptr;
SoundService* g_sound = nullptr;
ModalService* g_modal = nullptr;

DialogService& dialogs() {
    static QtDialogService real;
    return g_dialogs ? *g_dialogs : real;
}
SoundService& sound() {
    static auto* real = new QtSoundService;  // lives as long as the program
    return g_sound ? *g_sound : *real;
}
ModalService& modal() {
    static QtModalService real;
    return g_modal ? *g_modal : real;
}

}  // namespace

void SetDialogService(DialogService* service) { g_dialogs = service; }
void SetSoundService(SoundService* service) { g_sound = service; }
void SetModalService(ModalService* service) { g_modal = service; }

Form* ActiveForm() { return state().active; }

namespace detail {

void formShown(Form& form) {
    toFront(form);
    queueUpdate();
}

void formHidden(Form& form) {
    if (state().active == &form) state().active = nullptr;
    endModal(form);
    queueUpdate();
}

void formUnloaded(Form& form) {
    ActivationState& s = state();
    if (s.active == &form) s.active = nullptr;
    std::erase(s.history, &form);
    s.history.insert(s.history.begin(), &form);  // still known, so the quit check sees it reload
    endModal(form);
    queueUpdate();
}

void runModal(Form& form) { modal().run(form); }

void formDestroyed(Form& form) {
    ActivationState& s = state();
    if (s.active == &form) s.active = nullptr;
    std::erase(s.history, &form);
    endModal(form);
}

void formActivatedByUser(Form& form) {
    if (!modalStack().empty() && modalStack().back().form != &form) return;  // blocked by a modal form
    toFront(form);
    queueUpdate();
}

}  // namespace detail

void DoEvents() { QCoreApplication::processEvents(); }

int RunProgram(int argc, char** argv, const std::function<void()>& start, const std::function<void()>& finish) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);  // the game ends when its last form unloads
    qt::InstallFontSubstitutes();
    state().programRunning = true;
    start();
    queueUpdate();
    const int code = app.exec();
    state().programRunning = false;
    if (finish) finish();  // while the toolkit is still there
    return code;
}

float ScreenWidth() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? PixelsToTwips(s->geometry().width()) : 0.0f;
}

float ScreenHeight() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? PixelsToTwips(s->geometry().height()) : 0.0f;
}

std::string AppPath() { return S(QCoreApplication::applicationDirPath()); }

void MsgBoxInformation(const std::string& text, const std::string& title) { dialogs().msgBoxInformation(text, title); }

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    return dialogs().inputBox(prompt, title, defaultText);
}

void PlaySoundFile(const std::string& path) { sound().play(path); }

}  // namespace platform
