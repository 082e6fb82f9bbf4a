#pragma once
// Draws a form's controls with QPainter, in pixels, as the form hands them over,
// and tells which part of the client area a change of the controls touches.

#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QTextLayout>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/core/Form.h"

namespace platform::qt {

class QtPictures;

// What one window's painting keeps from one repaint to the next: each label's
// text, laid out and shaped once for as long as its caption, font and box
// stay the same (the story is a page of wrapped text that moves every 10 ms).
class TextCache {
public:
    struct Text {
        std::string caption;
        Font font;
        QSize box;
        int flags = 0;
        qreal dpr = 0;
        QTextLayout layout;  // lines placed as QPainter::drawText places them
        // Glyphs too large for the painter's glyph cache (the growing title)
        // are filled as outlines; these are read from the font once.
        QPainterPath outline;
        bool outlined = false;
    };
    // The label's text laid out in a box of `box` pixels.
    const Text& text(const Label& label, QSize box, int flags, qreal dpr);

private:
    std::unordered_map<const Control*, std::unique_ptr<Text>> texts_;
};

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

// Where each control lies on the client area and how it looks, in paint
// order: two scenes of the same form tell which part of the area a repaint
// must cover.
class Scene {
public:
    // The scene as the form would paint now, `pressed` drawn pressed.
    static Scene of(Form& form, const Control* pressed);
    // Where `next` differs from this scene: what changed, where it was and
    // where it is now.
    QRegion changes(const Scene& next) const;

private:
    friend class SceneRecorder;
    struct Item {
        const Control* control;
        QRect rect;
        std::string look;
    };
    std::vector<Item> items_;
};

}  // namespace platform::qt
