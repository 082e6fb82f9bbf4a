#pragma once
// A form: one window of the game with its controls, drawing surface, menus and
// event procedures. Derived forms declare their controls as members, set their
// design values in InitializeComponent() and override the events they handle.
//
// Life cycle: Show() loads a form that is not loaded (design values, then
// Form_Load), makes it visible and, once the event loop runs, raises
// Form_Activate when it becomes the program's active window. Show(vbModal)
// returns only after the form has been unloaded or hidden; timers keep ticking
// meanwhile. Unload() hides the window, stops the form's timers and discards
// its window; the next Show() loads it afresh. The form object itself lives on,
// so an event procedure may unload its own form and go on running.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Controls.h"
#include "platform/core/Timer.h"

namespace platform {

inline constexpr int vbModeless = 0;
inline constexpr int vbModal = 1;

// Key codes of Form_KeyDown.
namespace keys {
inline constexpr std::int16_t Return = 13;
inline constexpr std::int16_t Escape = 27;
inline constexpr std::int16_t Space = 32;
inline constexpr std::int16_t Left = 37;
inline constexpr std::int16_t Up = 38;
inline constexpr std::int16_t Right = 39;
inline constexpr std::int16_t Down = 40;
inline constexpr std::int16_t F2 = 113;
inline constexpr std::int16_t F3 = 114;
}  // namespace keys

class WindowHost;  // the window on screen (WindowHost.h)

// Draws a form's controls (Form::paint): visit() for each visible control,
// bottom first; a frame is visited last of all, and its visible controls
// follow between enterFrame and leaveFrame, placed in the frame and clipped
// to it.
class ControlPainter : public ControlVisitor {
public:
    virtual void enterFrame(const Frame& frame) = 0;
    virtual void leaveFrame() = 0;
};

enum class StartUpPosition { Manual, CenterScreen };

class Form : public PropertyOwner {
public:
    explicit Form(std::string name);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    const std::string& name() const { return name_; }

    // --- Operations -------------------------------------------------------
    void Show(int modal = vbModeless);
    void Hide();
    void Unload();
    bool IsLoaded() const { return loaded_; }
    bool Visible() const;
    bool IsModal() const { return modal_; }

    // Outer size and position, in twips.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void setWidth(float twips);
    void setHeight(float twips);

    // The client area, in twips; the origin is its top left corner.
    float ScaleLeft() const { return 0.0f; }
    float ScaleTop() const { return 0.0f; }
    float ScaleWidth() const;
    float ScaleHeight() const;

    Prop<std::string> Caption{this, kLook};
    Prop<Color> BackColor{this, kLook, 0x00C0C0C0};
    Prop<bool> KeyPreview{this, kNothing, false};
    int DrawWidth = 1;  // pixels

    // The drawing surface beneath all controls.
    void Cls();
    void PSet(float x, float y, Color color);  // a point outside the area is dropped
    Color Point(float x, float y) const;       // -1 outside the area

    // --- Events (override the ones the form handles) ----------------------
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Click() {}
    virtual void Form_KeyDown(std::int16_t& KeyCode, std::int16_t Shift) { (void)KeyCode, (void)Shift; }
    virtual void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
    virtual void Form_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y) {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
    // The window's close button; the default unloads the form.
    virtual void Form_CloseRequested() { Unload(); }

    // --- For the window ----------------------------------------------------
    // Input as the window system delivers it, in twips of the client area. A
    // press goes into a visible frame, to the topmost enabled control that
    // catches the mouse there, or to the form; the release goes where the press
    // went, and clicks when it ends over the same place.
    void mouseDown(std::int16_t button, std::int16_t shift, float x, float y);
    void mouseUp(std::int16_t button, std::int16_t shift, float x, float y);
    // Alt with a button's access letter presses that button; Return the
    // default button; any other known key is Form_KeyDown. False when the key
    // means nothing here (code 0: one the game has no code for).
    bool keyDown(std::int16_t keyCode, std::int16_t shift, bool autoRepeat);
    // The player clicked into this form's window.
    void activatedByUser();
    // The window's close button (Form_CloseRequested decides).
    void closeRequested();
    // A menu of this form's menu bar opened (a top-level item), or one of its
    // commands was chosen, by mouse, access key or shortcut: its Click.
    void menuChosen(MenuItem& item);
    // Hands the visible controls to the painter in drawing order.
    void paint(ControlPainter& painter);
    // The control held down by the mouse, drawn pressed (nullptr if none).
    const Control* pressedControl() const { return press_.active ? press_.control : nullptr; }

    // --- For the platform ------------------------------------------------
    const std::vector<Control*>& controls() const { return order_; }
    const std::vector<MenuItem*>& menus() const { return menus_; }
    const std::vector<Timer*>& timers() const { return timers_; }
    WindowHost* window() const { return window_.get(); }
    // True while InitializeComponent sets the design values: those raise no
    // control events (a label's Change), as a form's design is not an event.
    bool applyingDesign() const { return applyingDesign_; }
    void controlRegistered(Control& c);
    void controlDestroyed(Control& c);
    void frameRegistered(Frame& f) { frames_.push_back(&f); }
    void frameDestroyed(Frame& f);
    void repaint();

    struct Design {
        float clientWidth = 0, clientHeight = 0;  // twips
        StartUpPosition position = StartUpPosition::CenterScreen;
        std::string icon;       // icon name, empty for none
        std::string mouseIcon;  // cursor name, empty for the arrow
        // The form covers the screen (its load sizes it to ScreenWidth and
        // ScreenHeight): shown in the window system's full-screen state, or as
        // a framed window of the size the player asked for in its place.
        bool fullScreen = false;
    };
    const Design& design() const { return design_; }

protected:
    // Sets every control to its design values; runs at each load, before Form_Load.
    virtual void InitializeComponent() = 0;

    // Design-time settings, for InitializeComponent.
    void setDesign(const Design& d) { design_ = d; }
    void setDeclarationOrder(std::initializer_list<Control*> order);
    void setTimers(std::initializer_list<Timer*> timers) { timers_ = timers; }
    void setMenus(std::initializer_list<MenuItem*> topLevel);

private:
    enum : int { kNothing, kLook };
    void propertyChanged(int id) override;
    void load();
    bool isFrame(const Control* c) const;
    // Where a press at (x, y) goes: a control, or nullptr with `toForm` set.
    Control* controlAt(float x, float y, bool& toForm) const;
    Control* defaultButton() const;
    Control* buttonWithAccessKey(char key) const;

    std::string name_;
    bool loaded_ = false;
    bool modal_ = false;
    bool applyingDesign_ = false;
    Design design_;
    std::vector<Control*> order_;  // declaration order: later ones lie above
    std::vector<Timer*> timers_;
    std::vector<MenuItem*> menus_;
    std::vector<Frame*> frames_;
    std::unique_ptr<WindowHost> window_;
    unsigned loads_ = 0;  // counts the loads, so input can tell a fresh window from the one it began on
    struct Press {
        bool active = false;
        bool toForm = false;
        Control* control = nullptr;
    } press_;
};

}  // namespace platform
