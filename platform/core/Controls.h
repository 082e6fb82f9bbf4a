#pragma once
// The controls a form is built from. Each is plain state (positions in twips,
// colours 0x00BBGGRR) plus event handlers. The form routes the mouse to them
// (Form.h) and hands them, bottom first, to the window's painter through
// ControlVisitor. Writing a property tells the window where the control was
// and where it is now, so that it repaints only those areas.

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Picture.h"
#include "platform/core/Property.h"
#include "platform/core/Units.h"

namespace platform {

class Form;
class Frame;
class ControlVisitor;

// Font of a label, frame or button. Sizes are points; the window maps them to
// pixels at 96 dots per inch, as the twips are.
struct Font {
    std::string Name = "MS Sans Serif";
    float Size = 8.25f;
    bool Bold = false;
    int Weight = 400;  // 400 normal, 700 bold; Bold raises it to 700

    friend bool operator==(const Font&, const Font&) = default;
};

// A part of a form's client area, in pixels.
struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

enum class Alignment { LeftJustify = 0, RightJustify = 1, Center = 2 };

// Mouse handler arguments: button (1 left, 2 right, 4 middle), shift state
// (1 Shift, 2 Ctrl, 4 Alt) and the position in twips relative to the control.
using MouseHandler = std::function<void(std::int16_t Button, std::int16_t Shift, float X, float Y)>;

class Control : public PropertyOwner {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    Form& form() const { return *form_; }
    Frame* container() const { return container_; }

    Prop<bool> Visible{this, kVisible, true};
    Prop<bool> Enabled{this, kEnabled, true};

    std::function<void()> Click;
    MouseHandler MouseDown;
    MouseHandler MouseUp;

    // Whether a press over this control stops here (an enabled control takes it,
    // a disabled one passes it to its container). Lines, shapes and empty
    // images let presses through.
    virtual bool catchesMouse() const { return true; }
    virtual bool contains(float x, float y) const = 0;  // in container coordinates
    // Where the control's own coordinates start, in its container's.
    virtual float originX() const { return 0; }
    virtual float originY() const { return 0; }

    // Keyboard access letter from an "&" in the caption, 0 if none.
    virtual char accessKey() const { return 0; }

    // A click by mouse or keyboard: raises Click (an option button is selected first).
    virtual void activate() {
        if (Click) Click();
    }

    // Calls the visitor's method for this control's kind.
    virtual void accept(ControlVisitor& visitor) = 0;

    // It looks different or lies elsewhere: tells the form's window, once
    // until the window takes the change. Every property does so when it
    // changes; what a painter reads besides them (drawn pressed, an option's
    // value, the frame it lies in) calls this itself.
    void changed();
    // For the window, at its repaint: the part of the client area the
    // control covered at the last take and the one it covers now (empty
    // where it is not shown); both need painting.
    struct Change {
        PixelRect before, now;
    };
    Change takeChange();

protected:
    enum : int { kVisible = 1, kEnabled, kFirstOwn };
    explicit Control(Form& form, Frame* container = nullptr);
    void propertyChanged(int id) override;
    // Where the control paints when shown, in its container's pixels.
    virtual PixelRect extent() const = 0;

private:
    friend class Frame;
    PixelRect shownArea() const;

    Form* form_;
    Frame* container_;
    PixelRect area_;     // as of the last take
    bool told_ = false;  // the window knows of a change it has not taken yet
};

// Controls with a rectangle Left, Top, Width, Height.
class RectControl : public Control {
public:
    Prop<float> Left{this, kGeometry, 0.0f};
    Prop<float> Top{this, kGeometry, 0.0f};
    Prop<float> Width{this, kGeometry, 0.0f};
    Prop<float> Height{this, kGeometry, 0.0f};

    // Sets the rectangle in one go (design values).
    void Move(float left, float top, float width, float height);
    bool contains(float x, float y) const override;
    float originX() const override { return Left; }
    float originY() const override { return Top; }

protected:
    enum : int { kGeometry = kFirstOwn, kFirstRectOwn };
    using Control::Control;
    PixelRect extent() const override;
};

// A picture at natural size with a transparent background. Assigning a picture
// resizes the image to it.
class Image : public RectControl {
public:
    explicit Image(Form& form, Frame* container = nullptr) : RectControl(form, container) {}
    Prop<platform::Picture> Picture{this, kPicture};

    bool catchesMouse() const override { return !Picture.get().empty(); }
    void accept(ControlVisitor& visitor) override;

private:
    enum : int { kPicture = kFirstRectOwn };
    void propertyChanged(int id) override;
    PixelRect extent() const override;  // a picture is drawn at its own size, whatever the control's
};

class Label : public RectControl {
public:
    explicit Label(Form& form, Frame* container = nullptr) : RectControl(form, container) {}

    Prop<std::string> Caption{this, kCaption};
    Prop<Color> ForeColor{this, kLook, colors::Black};
    Prop<Color> BackColor{this, kLook, colors::Black};
    Prop<bool> Transparent{this, kLook, false};  // BackStyle: true = transparent
    Prop<Alignment> Align{this, kLook, Alignment::LeftJustify};
    Prop<bool> BorderSingle{this, kLook, false};  // BorderStyle: true = fixed single
    Prop<bool> AutoSize{this, kText, false};
    Prop<bool> WordWrap{this, kText, false};
    Prop<platform::Font> Font{this, kText};

    // Convenience for the one font property animations change.
    void setFontSize(float points);
    float FontSize() const { return Font.get().Size; }

    // Raised whenever the caption's text changes.
    std::function<void()> Change;

    void accept(ControlVisitor& visitor) override;

private:
    enum : int { kCaption = kFirstRectOwn, kLook, kText };
    void propertyChanged(int id) override;
    void fitToText();

    // The box a word-wrapping label last fitted its text to: a move leaves
    // it as it is and needs no measuring (the story moves every 10 ms).
    float fittedWidth_ = std::numeric_limits<float>::quiet_NaN();
    float fittedHeight_ = std::numeric_limits<float>::quiet_NaN();
};

// A rectangle outline and fill. Never takes the mouse.
class Shape : public RectControl {
public:
    explicit Shape(Form& form, Frame* container = nullptr) : RectControl(form, container) {}
    Prop<Color> BorderColor{this, kLook, colors::Black};
    Prop<bool> BorderSolid{this, kLook, true};  // BorderStyle: false = transparent
    Prop<int> BorderWidth{this, kLook, 1};      // pixels
    Prop<Color> FillColor{this, kLook, colors::Black};
    Prop<bool> FillSolid{this, kLook, false};  // FillStyle: false = transparent

    bool catchesMouse() const override { return false; }
    void accept(ControlVisitor& visitor) override;

private:
    enum : int { kLook = kFirstRectOwn };
};

// A straight line between (X1, Y1) and (X2, Y2). Never takes the mouse.
class Line : public Control {
public:
    explicit Line(Form& form, Frame* container = nullptr) : Control(form, container) {}
    Prop<float> X1{this, kLook, 0.0f};
    Prop<float> Y1{this, kLook, 0.0f};
    Prop<float> X2{this, kLook, 0.0f};
    Prop<float> Y2{this, kLook, 0.0f};
    Prop<int> BorderWidth{this, kLook, 1};  // pixels
    Prop<Color> BorderColor{this, kLook, colors::Black};

    bool catchesMouse() const override { return false; }
    bool contains(float, float) const override { return false; }
    void accept(ControlVisitor& visitor) override;

private:
    enum : int { kLook = kFirstOwn };
    PixelRect extent() const override;  // with the pen's round caps and smoothing
};

// A captioned panel whose controls are placed relative to it and shown and
// hidden with it. Frames lie above the form's other controls.
class Frame : public RectControl {
public:
    explicit Frame(Form& form);
    ~Frame() override;
    Prop<std::string> Caption{this, kLook};
    Prop<Color> BackColor{this, kLook, colors::Black};
    Prop<Color> ForeColor{this, kLook, colors::Black};
    Prop<platform::Font> Font{this, kLook};

    const std::vector<Control*>& children() const { return children_; }
    void accept(ControlVisitor& visitor) override;

private:
    friend class Control;
    enum : int { kLook = kFirstRectOwn };
    void propertyChanged(int id) override;  // its controls move and show with it
    std::vector<Control*> children_;
};

// A push button that shows its back colour (graphical style). Its caption may
// carry an access key ("&DONE").
class CommandButton : public RectControl {
public:
    explicit CommandButton(Form& form, Frame* container = nullptr) : RectControl(form, container) {}
    Prop<std::string> Caption{this, kLook};
    Prop<Color> BackColor{this, kLook, 0x00C0C0C0};
    Prop<Color> ForeColor{this, kLook, colors::Black};
    Prop<platform::Font> Font{this, kLook};
    int TabIndex = 0;

    char accessKey() const override;
    void accept(ControlVisitor& visitor) override;

private:
    enum : int { kLook = kFirstRectOwn };
};

// A graphical option button: a push button that stays pressed while selected.
// The buttons of one container form a group. Setting Value to true, by a click
// or from code, deselects the others and raises Click.
class OptionButton : public RectControl {
public:
    explicit OptionButton(Form& form, Frame* container = nullptr) : RectControl(form, container) {}
    Prop<std::string> Caption{this, kLook};
    Prop<platform::Picture> Picture{this, kLook};
    Prop<Color> BackColor{this, kLook, 0x00C0C0C0};
    Prop<Color> ForeColor{this, kLook, colors::Black};
    Prop<platform::Font> Font{this, kLook};
    int TabIndex = 0;

    // Reads like a property; writing true selects this button and raises Click.
    class ValueProp {
    public:
        explicit ValueProp(OptionButton& owner) : owner_(owner) {}
        ValueProp& operator=(bool v);
        operator bool() const { return value_; }

    private:
        friend class OptionButton;
        OptionButton& owner_;
        bool value_ = false;
    } Value{*this};

    char accessKey() const override;
    void activate() override { Value = true; }
    void accept(ControlVisitor& visitor) override;

private:
    enum : int { kLook = kFirstRectOwn };
};

// Turns a caption's "&X" into the access letter (upper case), 0 if none.
char AccessKeyOf(const std::string& caption);

// Each kind of control, for code that draws them or looks for one kind
// among a form's controls. Kinds a visitor does not handle are passed over.
class ControlVisitor {
public:
    virtual ~ControlVisitor() = default;
    virtual void visit(Image&) {}
    virtual void visit(Label&) {}
    virtual void visit(Shape&) {}
    virtual void visit(Line&) {}
    virtual void visit(Frame&) {}
    virtual void visit(CommandButton&) {}
    virtual void visit(OptionButton&) {}
};

// Fixed-index control arrays: `ControlArray<Image, 0, 8> imgShip{*this};`
// then `imgShip(3)`, or `for (Image& ship : imgShip)` in index order.
template <class T, int Lo, int Hi>
class ControlArray {
public:
    template <class... Args>
    explicit ControlArray(Args&&... args) {
        for (int i = Lo; i <= Hi; ++i) items_.push_back(std::make_unique<T>(args...));
    }
    T& operator()(int index) { return *items_.at(static_cast<std::size_t>(index - Lo)); }
    const T& operator()(int index) const { return *items_.at(static_cast<std::size_t>(index - Lo)); }
    static constexpr int LBound() { return Lo; }
    static constexpr int UBound() { return Hi; }
    static constexpr int Count() { return Hi - Lo + 1; }

    // Iterates the controls themselves, lowest index first.
    template <class Item, class Base>
    class Iter {
    public:
        explicit Iter(Base it) : it_(it) {}
        Item& operator*() const { return **it_; }
        Iter& operator++() {
            ++it_;
            return *this;
        }
        bool operator!=(const Iter& other) const { return it_ != other.it_; }

    private:
        Base it_;
    };
    using iterator = Iter<T, typename std::vector<std::unique_ptr<T>>::iterator>;
    using const_iterator = Iter<const T, typename std::vector<std::unique_ptr<T>>::const_iterator>;
    iterator begin() { return iterator(items_.begin()); }
    iterator end() { return iterator(items_.end()); }
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }

private:
    std::vector<std::unique_ptr<T>> items_;
};

// A menu entry. Top-level entries open a drop-down; their Click is raised when
// it opens, by mouse or access key. Items with a shortcut act on the key even
// while no menu is open.
class MenuItem : public PropertyOwner {
public:
    enum class Shortcut { None, F2, F3 };

    MenuItem(std::string caption, Shortcut shortcut = Shortcut::None);
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    Prop<std::string> Caption{this, 0};
    Prop<bool> Checked{this, 0, false};
    Prop<bool> Enabled{this, 0, true};
    Prop<bool> Visible{this, 0, true};
    const Shortcut shortcut;

    std::function<void()> Click;

    bool isSeparator() const { return Caption.get() == "-"; }
    const std::vector<MenuItem*>& items() const { return items_; }
    void setItems(std::vector<MenuItem*> items) { items_ = std::move(items); }

    // Told when a property changes, so the window's menu follows.
    std::function<void()> onChanged;

private:
    void propertyChanged(int) override {
        if (onChanged) onChanged();
    }
    std::vector<MenuItem*> items_;
};

}  // namespace platform
