#pragma once
// What a form needs of its window on screen. The window system (Services.h)
// makes one for each load of a form; the window tells the form of input,
// activation and its close button, and asks it to paint (Form.h).

#include "platform/core/Controls.h"

namespace platform {

class Form;

class WindowHost {
public:
    virtual ~WindowHost() = default;

    virtual void show(bool modal) = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    virtual void raise() = 0;

    // Outer geometry and client size in twips.
    virtual float left() const = 0;
    virtual float top() const = 0;
    virtual float outerWidth() const = 0;
    virtual float outerHeight() const = 0;
    virtual void setOuterWidth(float twips) = 0;
    virtual void setOuterHeight(float twips) = 0;
    virtual float clientWidth() const = 0;
    virtual float clientHeight() const = 0;

    // Drawing surface.
    virtual void clear(Color back) = 0;
    virtual void plot(float x, float y, Color color, int widthPx) = 0;
    virtual Color pointAt(float x, float y) const = 0;

    // A control changed how it looks or where it lies; told once until the
    // window takes the change (Control::takeChange), which tells the area it
    // covered and the one it covers now: the window paints both again, with
    // whatever lies there.
    virtual void controlChanged(Control& control) = 0;
    // Everything again (the controls' order changed).
    virtual void requestRepaint() = 0;
    virtual void menusChanged() = 0;
    virtual void titleChanged() = 0;
    // Design size, icon, cursor and frame style from the form's design values.
    virtual void applyDesign() = 0;
};

}  // namespace platform
