#pragma once
// A form's client area: paints the points and the controls, and hands the
// mouse and keys, converted to twips and the game's key codes, to the form.
//
// Repaints cover only what changed: at each repaint the controls' places and
// looks are set against those of the one before (Scene), and the points
// tell where they changed, so a moving story or a falling missile repaints
// its own strip, not the whole screen.

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "platform/qt/ControlPainter.h"

namespace platform::qt {

class FormWindow;
class QtPictures;

class Surface final : public QWidget {
public:
    Surface(FormWindow& window, QtPictures& pictures);

    // Coalesces repaints to the screen's pace however often the state changes;
    // what input changes is painted on the next turn of the event loop.
    void scheduleRepaint();

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
    Scene shown_;  // as of the last repaint handed to Qt
    QTimer pace_;
    bool repaintQueued_ = false;
    unsigned repaintRequests_ = 0;  // counts every request, so input can tell whether it asked for one
    QElapsedTimer sincePaint_;
};

}  // namespace platform::qt
