#include "platform/core/Form.h"

#include <algorithm>

#include "platform/core/Application.h"
#include "platform/core/Services.h"
#include "platform/core/WindowHost.h"

namespace platform {
namespace {

// Lets the window go: once the running event is over where a window system
// is installed, at once where none is left.
void Dispose(std::unique_ptr<WindowHost> window) {
    if (!window) return;
    if (WindowSystem* windows = CurrentServices().windows) windows->disposeWindow(std::move(window));
}

}  // namespace

Form::Form(std::string name) : name_(std::move(name)) { detail::formCreated(*this); }

// The derived form's controls and timers are gone by now; each timer has left
// its service as it went.
Form::~Form() {
    Dispose(std::move(window_));
    detail::formDestroyed(*this);
}

void Form::controlRegistered(Control& c) { order_.push_back(&c); }

void Form::controlDestroyed(Control& c) {
    std::erase(order_, &c);
    if (press_.control == &c) press_ = {};
}

void Form::frameDestroyed(Frame& f) { std::erase(frames_, &f); }

bool Form::isFrame(const Control* c) const { return std::find(frames_.begin(), frames_.end(), c) != frames_.end(); }

void Form::paint(ControlPainter& painter) {
    for (Control* c : order_)
        if (!c->container() && !isFrame(c) && c->Visible) c->accept(painter);
    // Frames are windows of their own, above every other control.
    for (Control* c : order_) {
        const auto frame = std::find(frames_.begin(), frames_.end(), c);
        if (frame == frames_.end() || !(*frame)->Visible) continue;
        Frame& f = **frame;
        f.accept(painter);
        painter.enterFrame(f);
        for (Control* child : order_)
            if (child->container() == &f && child->Visible) child->accept(painter);
        painter.leaveFrame();
    }
}

void Form::setDeclarationOrder(std::initializer_list<Control*> order) {
    std::vector<Control*> rest;
    for (Control* c : order_)
        if (std::find(order.begin(), order.end(), c) == order.end()) rest.push_back(c);
    order_.assign(order.begin(), order.end());
    order_.insert(order_.end(), rest.begin(), rest.end());
    repaint();
}

void Form::setMenus(std::initializer_list<MenuItem*> topLevel) {
    menus_ = topLevel;
    auto hook = [this](MenuItem* m) {
        m->onChanged = [this] {
            if (window_) window_->menusChanged();
        };
    };
    for (MenuItem* top : menus_) {
        hook(top);
        for (MenuItem* item : top->items()) hook(item);
    }
    if (window_) window_->menusChanged();
}

void Form::repaint() {
    if (window_) window_->requestRepaint();
}

void Form::propertyChanged(int id) {
    if (!window_) return;
    // The back colour shows when the surface is cleared (Cls), not before.
    if (id == kLook) window_->titleChanged();
}

void Form::load() {
    window_ = CurrentServices().windows->createWindow(*this);
    // The new window paints everything once it shows; changes count from here.
    for (Control* c : order_) c->takeChange();
    ++loads_;
    press_ = {};
    loaded_ = true;
    applyingDesign_ = true;
    InitializeComponent();
    applyingDesign_ = false;
    window_->applyDesign();
    window_->titleChanged();
    window_->menusChanged();
    window_->clear(BackColor);
    Form_Load();
}

void Form::Show(int modal) {
    if (!loaded_ && detail::programEnding()) return;
    if (!loaded_) load();
    if (!loaded_) return;  // Form_Load unloaded it again
    if (modal == vbModal) {
        if (Visible()) {  // already open without waiting: bring it to the front instead
            window_->raise();
            detail::formShown(*this);
            return;
        }
        modal_ = true;
        window_->show(true);
        detail::formShown(*this);
        detail::runModal(*this);
        modal_ = false;
        return;
    }
    if (!Visible())
        window_->show(modal_);
    else
        window_->raise();
    detail::formShown(*this);
}

void Form::Hide() {
    if (!loaded_ || !window_->isVisible()) return;
    window_->hide();
    detail::formHidden(*this);
}

void Form::Unload() {
    if (!loaded_) return;
    loaded_ = false;
    for (Timer* t : timers_) t->Interval = 0;
    window_->hide();
    // The window goes; the controls stay as plain state until the next load
    // sets them to their design values again.
    press_ = {};
    Dispose(std::move(window_));
    detail::formUnloaded(*this);
}

bool Form::Visible() const { return loaded_ && window_->isVisible(); }

float Form::Left() const { return window_ ? window_->left() : 0.0f; }
float Form::Top() const { return window_ ? window_->top() : 0.0f; }
float Form::Width() const { return window_ ? window_->outerWidth() : design_.clientWidth; }
float Form::Height() const { return window_ ? window_->outerHeight() : design_.clientHeight; }
void Form::setWidth(float twips) {
    if (window_) window_->setOuterWidth(twips);
}
void Form::setHeight(float twips) {
    if (window_) window_->setOuterHeight(twips);
}
float Form::ScaleWidth() const { return window_ ? window_->clientWidth() : design_.clientWidth; }
float Form::ScaleHeight() const { return window_ ? window_->clientHeight() : design_.clientHeight; }

void Form::Cls() {
    if (window_) window_->clear(BackColor);
}

void Form::PSet(float x, float y, Color color) {
    if (window_) window_->plot(x, y, color, DrawWidth);
}

Color Form::Point(float x, float y) const { return window_ ? window_->pointAt(x, y) : static_cast<Color>(-1); }

}  // namespace platform
