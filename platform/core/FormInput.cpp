// Mouse and keyboard on a form, as the window delivers them: which control a
// press goes to, when a release clicks, and the keys that press buttons.

#include <algorithm>

#include "platform/core/Application.h"
#include "platform/core/Form.h"
#include "platform/core/Journal.h"

namespace platform {
namespace {

// Shown and usable, with the frame it lies in (if any) shown too.
bool Usable(const Control& c) { return c.Visible && c.Enabled && (!c.container() || c.container()->Visible); }

}  // namespace

Control* Form::controlAt(float x, float y, bool& toForm) const {
    toForm = false;
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        const auto frame = std::find(frames_.begin(), frames_.end(), *it);
        if (frame == frames_.end() || !(*frame)->Visible || !(*frame)->contains(x, y)) continue;
        Frame* f = *frame;
        const float lx = x - f->Left, ly = y - f->Top;
        for (auto ch = order_.rbegin(); ch != order_.rend(); ++ch) {
            Control* c = *ch;
            if (c->container() != f || !c->Visible || !c->catchesMouse() || !c->contains(lx, ly)) continue;
            return c->Enabled ? c : f;  // a disabled control passes the press to its frame
        }
        return f;
    }
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        Control* c = *it;
        if (c->container() || isFrame(c) || !c->Visible || !c->catchesMouse() || !c->contains(x, y)) continue;
        if (c->Enabled) return c;
        break;  // a disabled control passes the press to the form
    }
    toForm = true;
    return nullptr;
}

namespace {

Input Mouse(Input::Kind kind, Form& form, std::int16_t button, std::int16_t shift, float x, float y) {
    Input in;
    in.kind = kind;
    in.form = &form;
    in.button = button;
    in.shift = shift;
    in.x = x;
    in.y = y;
    return in;
}

Input To(Input::Kind kind, Form& form) {
    Input in;
    in.kind = kind;
    in.form = &form;
    return in;
}

}  // namespace

void Form::mouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
    if (!loaded_) return;
    const InputScope scope(Mouse(Input::MouseDown, *this, button, shift, x, y));
    if (!scope.admitted()) return;
    bool toForm = false;
    Control* target = controlAt(x, y, toForm);
    press_ = {true, toForm, target};
    if (toForm) {
        Form_MouseDown(button, shift, x, y);
        return;
    }
    if (target->MouseDown) {
        const Frame* f = target->container();
        target->MouseDown(button, shift, x - target->originX() - (f ? f->originX() : 0),
                          y - target->originY() - (f ? f->originY() : 0));
    }
    target->changed();  // drawn pressed
}

void Form::mouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
    if (!loaded_ || !press_.active) return;
    const InputScope scope(Mouse(Input::MouseUp, *this, button, shift, x, y));
    if (!scope.admitted()) return;
    const Press press = press_;
    press_ = {};
    const unsigned load = loads_;
    // A procedure may unload (and reload) this form; then no click follows.
    auto sameWindow = [this, load] { return loaded_ && loads_ == load; };
    bool toFormNow = false;
    Control* now = controlAt(x, y, toFormNow);
    if (press.toForm) {
        Form_MouseUp(button, shift, x, y);
        if (sameWindow() && toFormNow) Form_Click();
        return;
    }
    Control* target = press.control;
    target->changed();  // no longer drawn pressed
    if (target->MouseUp) {
        const Frame* f = target->container();
        target->MouseUp(button, shift, x - target->originX() - (f ? f->originX() : 0),
                        y - target->originY() - (f ? f->originY() : 0));
    }
    if (sameWindow() && now == target) target->activate();
}

Control* Form::defaultButton() const {
    struct Lowest final : ControlVisitor {
        CommandButton* best = nullptr;
        void visit(CommandButton& b) override {
            if (Usable(b) && (!best || b.TabIndex < best->TabIndex)) best = &b;
        }
    } lowest;
    for (Control* c : order_) c->accept(lowest);
    return lowest.best;
}

Control* Form::buttonWithAccessKey(char key) const {
    if (key == 0) return nullptr;
    for (Control* c : order_)
        if (Usable(*c) && c->accessKey() == key) return c;
    return nullptr;
}

bool Form::keyDown(std::int16_t keyCode, std::int16_t shift, bool autoRepeat) {
    if (!loaded_) return false;
    Input key = To(Input::Key, *this);
    key.button = keyCode;
    key.shift = shift;
    key.autoRepeat = autoRepeat;
    const InputScope scope(key);
    if (!scope.admitted()) return true;  // taken, by the one who turned it away
    if ((shift & 4) && keyCode >= 'A' && keyCode <= 'Z') {
        if (Control* c = buttonWithAccessKey(static_cast<char>(keyCode))) {
            c->activate();
            return true;
        }
    }
    if (keyCode == keys::Return && !autoRepeat) {
        if (Control* c = defaultButton()) {
            c->activate();
            return true;
        }
    }
    if (keyCode == 0) return false;
    Form_KeyDown(keyCode, shift);
    return true;
}

void Form::activatedByUser() {
    const InputScope scope(To(Input::Activate, *this));
    if (scope.admitted()) detail::formActivatedByUser(*this);
}

void Form::closeRequested() {
    const InputScope scope(To(Input::Close, *this));
    if (scope.admitted()) Form_CloseRequested();
}

void Form::menuChosen(MenuItem& item) {
    Input menu = To(Input::Menu, *this);
    menu.item = &item;
    const InputScope scope(menu);
    if (scope.admitted() && item.Click) item.Click();
}

}  // namespace platform
