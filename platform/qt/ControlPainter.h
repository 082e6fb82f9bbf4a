#pragma once
// Draws a form's controls with QPainter, in pixels, as the form hands them over.

#include <QPainter>

#include <vector>

#include "platform/Form.h"

namespace platform::qt {

class QtPictures;

class QtControlPainter final : public ControlPainter {
public:
    QtControlPainter(QPainter& painter, QtPictures& pictures, const Control* pressed)
        : p_(painter), pictures_(pictures), pressed_(pressed) {}

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

    QPainter& p_;
    QtPictures& pictures_;
    const Control* pressed_;
    QPoint origin_;  // of the frame being painted, pixels
};

}  // namespace platform::qt
