#pragma once
// A form's window: a top-level widget with the form's menu bar (MenuBar.h)
// above its client area (Surface.h), which holds the points drawn with PSet
// (PointSurface.h) and paints the controls over them.

#include <QWidget>

#include <memory>
#include <vector>

#include "platform/core/WindowHost.h"
#include "platform/qt/PointSurface.h"

namespace platform {
class Form;
}

namespace platform::qt {

class MenuBar;
class QtWindows;
class Surface;

class FormWindow final : public QWidget, public WindowHost {
public:
    FormWindow(Form& form, QtWindows& windows);
    ~FormWindow() override;

    Form* form() const { return form_; }
    // Cuts the window off from its form: from now on it tells the form nothing.
    void detach() { form_ = nullptr; }
    // Its window system is going before it: it no longer reports its end there.
    void orphan() { listed_ = false; }

    Surface* surface() const { return surface_; }
    // Screen pixels to one of the game's pixels (twips / 15): 1, or less on
    // a screen too small for the game's windows (QtWindows::scale).
    qreal scale() const;
    // The menu bar, built first if it was put off (see menusChanged).
    MenuBar& menuBar() const;
    const PointSurface& points() const { return points_; }

    // WindowHost
    void show(bool modal) override;
    void hide() override;
    bool isVisible() const override { return QWidget::isVisible(); }
    void raise() override;
    float left() const override;
    float top() const override;
    float outerWidth() const override;
    float outerHeight() const override;
    void setOuterWidth(float twips) override;
    void setOuterHeight(float twips) override;
    float clientWidth() const override;
    float clientHeight() const override;
    void clear(Color back) override;
    void plot(float x, float y, Color color, int widthPx) override;
    Color pointAt(float x, float y) const override;
    void controlChanged(Control& control) override;
    void requestRepaint() override;
    void menusChanged() override;
    void titleChanged() override;
    void applyDesign() override;

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void relayout();
    // Builds a bar that was put off, and lays the window out around it.
    void buildDueMenus() const;
    void syncMenus();
    int toPixels(float twips) const;  // on the screen
    float toTwips(qreal pixels) const;
    // What the window system adds around the client area; nothing for a
    // full-screen form, whose frame (if any) lies outside its stage.
    QSize frameExtra() const;
    bool fullScreen() const;
    // Places a window that is not full screen: centred over the stage (the
    // main window), its frame's top left on the screen's free area, and its
    // bottom right too if it fits.
    void place();

    Form* form_;
    QtWindows& windows_;
    std::unique_ptr<MenuBar> menuBar_;
    Surface* surface_ = nullptr;
    PointSurface points_;
    bool placed_ = false;
    mutable bool menusDue_ = false;  // the form has menus not yet in a bar
    bool listed_ = true;             // QtWindows knows it
};

}  // namespace platform::qt
