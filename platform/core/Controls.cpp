#include "platform/core/Controls.h"

#include <cctype>

#include "platform/core/Form.h"
#include "platform/core/Services.h"

namespace platform {

Control::Control(Form& form, Frame* container) : form_(&form), container_(container) {
    if (container_) container_->children_.push_back(this);
    form_->controlRegistered(*this);
}

Control::~Control() { form_->controlDestroyed(*this); }

void Control::propertyChanged(int) { form_->repaint(); }

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
            owner_.form().repaint();
        }
        return *this;
    }
    // Selecting one button of the group (the option buttons of one container)
    // releases the others.
    struct Release final : ControlVisitor {
        const OptionButton* selected;
        explicit Release(const OptionButton* s) : selected(s) {}
        void visit(OptionButton& other) override {
            if (&other != selected && other.container() == selected->container()) other.Value.value_ = false;
        }
    } release(&owner_);
    for (Control* c : owner_.form().controls()) c->accept(release);
    value_ = true;
    owner_.form().repaint();
    if (owner_.Click && !owner_.form().applyingDesign()) owner_.Click();
    return *this;
}

MenuItem::MenuItem(std::string caption, Shortcut sc) : shortcut(sc) { Caption.setQuietly(std::move(caption)); }

}  // namespace platform
