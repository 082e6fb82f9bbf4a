#include "platform/core/Controls.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "platform/core/Form.h"
#include "platform/core/Services.h"
#include "platform/core/WindowHost.h"

namespace platform {

Control::Control(Form& form, Frame* container) : form_(&form), container_(container) {
    if (container_) container_->children_.push_back(this);
    form_->controlRegistered(*this);
}

Control::~Control() { form_->controlDestroyed(*this); }

namespace {

PixelRect Intersected(const PixelRect& a, const PixelRect& b) {
    const int left = std::max(a.left, b.left), top = std::max(a.top, b.top);
    const int right = std::min(a.left + a.width, b.left + b.width),
              bottom = std::min(a.top + a.height, b.top + b.height);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

PixelRect United(const PixelRect& a, const PixelRect& b) {
    if (b.empty()) return a;
    if (a.empty()) return b;
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    return {left, top, std::max(a.left + a.width, b.left + b.width) - left,
            std::max(a.top + a.height, b.top + b.height) - top};
}

}  // namespace

void Control::propertyChanged(int) { changed(); }

PixelRect Control::shownArea() const {
    if (!Visible || (container_ && !container_->Visible)) return {};
    PixelRect r = extent();
    if (container_) {  // placed in the frame and clipped to it
        const PixelRect frame = container_->extent();
        r.left += frame.left;
        r.top += frame.top;
        r = Intersected(r, frame);
        if (r.empty()) return {};
    }
    // A pixel around it: a frame's white edge lies one pixel past its right side.
    return {r.left - 1, r.top - 1, r.width + 2, r.height + 2};
}

// The window works the areas out once a repaint, however often the control
// changed before it (a property is written a hundred times a tick).
void Control::changed() {
    if (told_) return;
    WindowHost* window = form_->window();
    if (!window) return;
    told_ = true;
    window->controlChanged(*this);
}

Control::Change Control::takeChange() {
    told_ = false;
    const PixelRect before = std::exchange(area_, shownArea());
    return {before, area_};
}

PixelRect RectControl::extent() const {
    return {TwipsToPixels(Left), TwipsToPixels(Top), TwipsToPixels(Width), TwipsToPixels(Height)};
}

void RectControl::Move(float left, float top, float width, float height) {
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

bool RectControl::contains(float x, float y) const {
    return x >= Left && x < Left + Width && y >= Top && y < Top + Height;
}

void Image::propertyChanged(int id) {
    if (id == kPicture && !Picture.get().empty()) {
        Width = PixelsToTwips(Picture.get().widthPx);
        Height = PixelsToTwips(Picture.get().heightPx);
    }
    RectControl::propertyChanged(id);
}

PixelRect Image::extent() const {
    const PixelRect r = RectControl::extent();
    return United(r, {r.left, r.top, Picture.get().widthPx, Picture.get().heightPx});
}

PixelRect Line::extent() const {
    const double x1 = X1 / double{kTwipsPerPixel}, y1 = Y1 / double{kTwipsPerPixel};
    const double x2 = X2 / double{kTwipsPerPixel}, y2 = Y2 / double{kTwipsPerPixel};
    const int left = static_cast<int>(std::floor(std::min(x1, x2))),
              top = static_cast<int>(std::floor(std::min(y1, y2)));
    const int right = static_cast<int>(std::ceil(std::max(x1, x2))),
              bottom = static_cast<int>(std::ceil(std::max(y1, y2)));
    const int reach = std::max(1, BorderWidth.get()) + 2;
    return {left - reach, top - reach, right - left + 2 * reach, bottom - top + 2 * reach};
}

void Label::setFontSize(float points) {
    platform::Font f = Font;
    f.Size = points;
    Font = f;
}

void Label::fitToText() {
    TextMeasurer* text = CurrentServices().text;
    if (!AutoSize || !text) return;
    if (WordWrap) {
        const float height = text->measure(Font, Caption, Width).height;
        fittedWidth_ = Width;
        fittedHeight_ = height;  // before Height tells this label it changed
        Height = height;
    } else {
        const TextSize size = text->measure(Font, Caption, 0);
        Width = size.width;
        Height = size.height;
    }
}

void Label::propertyChanged(int id) {
    // A word-wrapping label that sizes itself keeps its width and re-fits its
    // height when its text, its font or its width changes, or when its height
    // is set to another; a move changes none of them.
    const bool boxChanged =
        id == kGeometry && AutoSize && WordWrap && (Width != fittedWidth_ || Height != fittedHeight_);
    if (id == kCaption || id == kText || boxChanged) fitToText();
    RectControl::propertyChanged(id);
    if (id == kCaption && Change && !form().applyingDesign()) Change();
}

char AccessKeyOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

char CommandButton::accessKey() const { return AccessKeyOf(Caption); }
char OptionButton::accessKey() const { return AccessKeyOf(Caption); }

Frame::Frame(Form& form) : RectControl(form, nullptr) { form.frameRegistered(*this); }
Frame::~Frame() { form().frameDestroyed(*this); }

void Frame::propertyChanged(int id) {
    RectControl::propertyChanged(id);
    if (id == kVisible || id == kGeometry)
        for (Control* c : children_) c->changed();
}

void Image::accept(ControlVisitor& v) { v.visit(*this); }
void Label::accept(ControlVisitor& v) { v.visit(*this); }
void Shape::accept(ControlVisitor& v) { v.visit(*this); }
void Line::accept(ControlVisitor& v) { v.visit(*this); }
void Frame::accept(ControlVisitor& v) { v.visit(*this); }
void CommandButton::accept(ControlVisitor& v) { v.visit(*this); }
void OptionButton::accept(ControlVisitor& v) { v.visit(*this); }

OptionButton::ValueProp& OptionButton::ValueProp::operator=(bool v) {
    if (!v) {
        if (value_) {
            value_ = false;
            owner_.changed();
        }
        return *this;
    }
    // Selecting one button of the group (the option buttons of one container)
    // releases the others.
    struct Release final : ControlVisitor {
        const OptionButton* selected;
        explicit Release(const OptionButton* s) : selected(s) {}
        void visit(OptionButton& other) override {
            if (&other == selected || other.container() != selected->container() || !other.Value) return;
            other.Value.value_ = false;
            other.changed();
        }
    } release(&owner_);
    for (Control* c : owner_.form().controls()) c->accept(release);
    if (!std::exchange(value_, true)) owner_.changed();
    if (owner_.Click && !owner_.form().applyingDesign()) owner_.Click();
    return *this;
}

MenuItem::MenuItem(std::string caption, Shortcut sc) : shortcut(sc) { Caption.setQuietly(std::move(caption)); }

}  // namespace platform
