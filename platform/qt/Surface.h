#pragma once
// A form's client area: paints the points and the controls, and hands the
// mouse and keys, converted to twips and the game's key codes, to the form.
//
// Repaints cover only what changed: each control that changed tells where it
// was and where it is now (Control::changed), and the points tell where they
// changed, so a moving story or a falling missile repaints its own strip, not
// the whole screen.

#include <QElapsedTimer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <vector>

#include "platform/qt/TextCache.h"

namespace platform::qt {

class FormWindow;
class QtPictures;

class Surface final : public QWidget {
public:
    Surface(FormWindow& window, QtPictures& pictures);

    // Coalesces repaints to the screen's pace however often the state changes;
    // what input changes is painted on the next turn of the event loop.
    void scheduleRepaint();
    // The control's old and new areas are painted at the next repaint.
    void controlChanged(Control& control);
    // Everything at the next repaint.
    void repaintAll();
    // Changes are waiting for the next repaint.
    bool repaintPending() const { return repaintQueued_; }

    // Input as it arrives from the window system (tests send the same events).
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    // Hands Qt the part of the area that changed since the last time.
    void repaintChanges();
    void afterInput();

    FormWindow& window_;
    QtPictures& pictures_;
    TextCache texts_;
    std::vector<Control*> changed_;  // since the last repaint, each once
    bool all_ = false;
    QTimer pace_;
    bool repaintQueued_ = false;
    unsigned repaintRequests_ = 0;  // counts every request, so input can tell whether it asked for one
    QElapsedTimer sincePaint_;
};

}  // namespace platform::qt
