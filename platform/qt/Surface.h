#pragma once
// A form's client area: paints the points and the controls, and hands the
// mouse and keys, converted to twips and the game's key codes, to the form.

#include <QElapsedTimer>
#include <QWidget>

namespace platform::qt {

class FormWindow;
class QtPictures;

class Surface final : public QWidget {
public:
    Surface(FormWindow& window, QtPictures& pictures);

    // Coalesces repaints to the screen's pace however often the state changes.
    void scheduleRepaint();

    // Input as it arrives from the window system (tests send the same events).
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    FormWindow& window_;
    QtPictures& pictures_;
    bool repaintQueued_ = false;
    QElapsedTimer sincePaint_;
};

}  // namespace platform::qt
