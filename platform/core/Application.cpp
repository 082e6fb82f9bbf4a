#include "platform/core/Application.h"

#include <algorithm>

#include "platform/core/Form.h"
#include "platform/core/Journal.h"
#include "platform/core/Random.h"
#include "platform/core/Services.h"

namespace platform {
namespace {

struct State {
    std::vector<Form*> history;  // most recently shown or activated last
    Form* active = nullptr;
    Form* showRequested = nullptr;  // Show() was called for it since the last update
    bool updateQueued = false;
    bool programRunning = false;
    bool ending = false;       // the session ends: nothing loads or asks any more
    std::vector<Form*> modal;  // innermost last
    std::vector<Form*> forms;  // every form in existence
};

State& state() {
    static State s;
    return s;
}

Services& installed() {
    static Services s;
    return s;
}

void updateActive() {
    State& s = state();
    s.updateQueued = false;
    Form* requested = std::exchange(s.showRequested, nullptr);
    if (s.programRunning && std::none_of(s.history.begin(), s.history.end(), [](Form* f) { return f->IsLoaded(); })) {
        CurrentServices().events->quit();  // no form left: the program ends
        return;
    }
    Form* target = nullptr;
    for (auto it = s.history.rbegin(); it != s.history.rend(); ++it) {
        if ((*it)->Visible()) {
            target = *it;
            break;
        }
    }
    if (target == s.active && target != requested) return;
    s.active = target;
    if (target) target->Form_Activate();
}

void queueUpdate() {
    State& s = state();
    EventLoop* events = CurrentServices().events;
    if (s.updateQueued || !events) return;
    s.updateQueued = true;
    events->post(updateActive);
}

void toFront(Form& form) {
    auto& h = state().history;
    std::erase(h, &form);
    h.push_back(&form);
}

void endModal(Form& form) {
    const auto& modal = state().modal;
    if (std::find(modal.begin(), modal.end(), &form) == modal.end()) return;
    if (EventLoop* events = CurrentServices().events) events->endModal(form);
}

// Forgets the form as the active one, and as one that asked to be.
void forget(Form& form) {
    State& s = state();
    if (s.active == &form) s.active = nullptr;
    if (s.showRequested == &form) s.showRequested = nullptr;
}

}  // namespace

void InstallServices(Services services) {
    installed() = std::move(services);
    if (SystemClock* clock = installed().clock) Generator().seed(clock->startSeed());
    state().ending = false;
    state().updateQueued = false;  // an update the last services held never ran
}
const Services& CurrentServices() { return installed(); }

Picture LoadPicture(std::string_view name) {
    PictureLoader* pictures = CurrentServices().pictures;
    return pictures ? pictures->load(name) : Picture{};
}

Form* ActiveForm() { return state().active; }
const std::vector<Form*>& ModalForms() { return state().modal; }

namespace detail {

void formCreated(Form& form) { state().forms.push_back(&form); }

bool programEnding() { return state().ending; }

void setProgramRunning(bool running) { state().programRunning = running; }

void formShown(Form& form) {
    toFront(form);
    state().showRequested = &form;
    queueUpdate();
}

void formHidden(Form& form) {
    forget(form);
    endModal(form);
    queueUpdate();
}

void formUnloaded(Form& form) {
    State& s = state();
    forget(form);
    std::erase(s.history, &form);
    s.history.insert(s.history.begin(), &form);  // still known, so the end-of-program check sees it reload
    endModal(form);
    queueUpdate();
}

void runModal(Form& form) {
    State& s = state();
    s.modal.push_back(&form);
    while (form.IsLoaded() && form.Visible())
        if (!CurrentServices().events->runModal(form)) break;  // the program is ending
    const auto it = std::find(s.modal.rbegin(), s.modal.rend(), &form);
    if (it != s.modal.rend()) s.modal.erase(std::next(it).base());
}

void formDestroyed(Form& form) {
    State& s = state();
    forget(form);
    std::erase(s.history, &form);
    std::erase(s.forms, &form);
    endModal(form);
    std::erase(s.modal, &form);
}

void formActivatedByUser(Form& form) {
    const auto& modal = state().modal;
    if (!modal.empty() && modal.back() != &form) return;  // blocked by a modal form
    toFront(form);
    queueUpdate();
}

}  // namespace detail

void EndProgram() {
    state().ending = true;
    queueUpdate();  // ends the program even when no form was loaded
    const std::vector<Form*> forms = state().forms;
    for (Form* f : forms)
        if (f->IsLoaded()) f->Unload();
}

void EndSession() {
    Input end;
    end.kind = Input::SessionEnd;
    const InputScope scope(end);
    if (scope.admitted()) EndProgram();
}

namespace {
Journal* g_journal = nullptr;
}

void SetJournal(Journal* journal) { g_journal = journal; }
Journal* CurrentJournal() { return g_journal; }

void Checkpoint() {
    if (g_journal) g_journal->checkpoint();
}

// The forms in the order they were made: how a recording names them.
const std::vector<Form*>& AllForms() { return state().forms; }

void DoEvents() {
    if (EventLoop* events = CurrentServices().events) events->processEvents();
}

int RunProgram(const std::function<void()>& start) {
    State& s = state();
    s.programRunning = true;
    start();
    queueUpdate();
    const int code = CurrentServices().events->exec();
    s.programRunning = false;
    return code;
}

float ScreenWidth() { return CurrentServices().windows->screenWidth(); }
float ScreenHeight() { return CurrentServices().windows->screenHeight(); }

std::string AppPath() { return CurrentServices().appPath; }

void MsgBoxInformation(const std::string& text, const std::string& title) {
    if (!state().ending) CurrentServices().dialogs->msgBoxInformation(text, title);
}

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    return state().ending ? std::string() : CurrentServices().dialogs->inputBox(prompt, title, defaultText);
}

void PlaySoundFile(const std::string& path) {
    if (SoundService* sound = CurrentServices().sound) sound->play(path);
}

}  // namespace platform
