#pragma once
// Draws a form's controls with QPainter, in pixels, as the form hands them over.
// Each control paints inside the area it reports when it changes
// (Control::changed): its rectangle, a picture's natural size, a line and its
// pen, a pixel around them, and in a frame, inside the frame.

#include <QPainter>

#include "platform/core/Form.h"
#include "platform/qt/TextCache.h"

namespace platform::qt {

class QtPictures;

class QtControlPainter final : public ControlPainter {
public:
    // Paints the controls that reach into `area` (pixels of the client area);
    // the painter is clipped to it.
    QtControlPainter(QPainter& painter, QtPictures& pictures, TextCache& texts, const Control* pressed,
                     const QRect& area)
        : p_(painter), pictures_(pictures), texts_(texts), pressed_(pressed), area_(area) {}

    void visit(Image& c) override;
    void visit(Label& c) override;
    void visit(Shape& c) override;
    void visit(Line& c) override;
    void visit(Frame& c) override;
    void visit(CommandButton& c) override;
    void visit(OptionButton& c) override;
    void enterFrame(const Frame& frame) override;
    void leaveFrame() override;

private:
    QRect pixelRect(const RectControl& c) const;
    bool outside(const QRect& r) const { return !r.intersects(clip_); }

    QPainter& p_;
    QtPictures& pictures_;
    TextCache& texts_;
    const Control* pressed_;
    QRect area_;
    QRect clip_ = area_;  // the area, within the frame being painted
    QPoint origin_;       // of the frame being painted, pixels
};

}  // namespace platform::qt
