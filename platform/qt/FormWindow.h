#pragma once
// A form's window: a top-level widget with the menu bar (if the form has one)
// above a surface that holds the points drawn with PSet and paints the
// controls over them in declaration order, frames last.

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QWidget>

#include "platform/WindowHost.h"

class QMenuBar;
class QAction;
class QMenu;

namespace platform {
class Control;
class MenuItem;
class Form;
}  // namespace platform

namespace platform::qt {

class Surface;

class FormWindow final : public QWidget, public WindowHost {
public:
    explicit FormWindow(Form& form);
    ~FormWindow() override;

    Form* form() const { return form_; }
    void detach() { form_ = nullptr; }

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
    void requestRepaint() override;
    void menusChanged() override;
    void titleChanged() override;
    void applyDesign() override;

    Surface* surface() const { return surface_; }
    QAction* actionFor(const MenuItem* item) const { return actions_.value(item); }
    QMenu* menuFor(const MenuItem* item) const { return menus_.value(item); }

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    friend class Surface;
    void relayout();
    int menuBarHeight() const;
    QSize frameExtra() const;
    void buildMenus();
    void syncMenus();

    Form* form_;
    QMenuBar* menuBar_ = nullptr;
    Surface* surface_ = nullptr;
    QImage points_;  // the PSet surface, in device pixels
    Color back_ = 0;
    bool placed_ = false;
    QHash<const MenuItem*, QAction*> actions_;
    QHash<const MenuItem*, QMenu*> menus_;
};

class Surface final : public QWidget {
public:
    explicit Surface(FormWindow& window);

    // Coalesces repaints to the screen's pace however often the state changes.
    void scheduleRepaint();

    // Input as it arrives from the window system (tests send the same events).
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void paintControl(QPainter& p, Control& c, QPointF origin);
    Control* controlAt(float x, float y, bool& toForm) const;
    Control* defaultButton() const;
    Control* buttonWithAccessKey(char key) const;

    FormWindow& window_;
    bool repaintQueued_ = false;
    QElapsedTimer sincePaint_;
    Control* pressed_ = nullptr;  // the control that took the last press
    bool pressToForm_ = false;    // the last press went to the form
    bool pressActive_ = false;
};

}  // namespace platform::qt
