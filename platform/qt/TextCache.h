#pragma once
// What one window's painting keeps from one repaint to the next: each label's
// text, laid out and shaped once for as long as its caption, font and box
// stay the same (the story is a page of wrapped text that moves every 10 ms).

#include <QPainterPath>
#include <QSize>
#include <QTextLayout>

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/core/Controls.h"

namespace platform::qt {

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
    // The label's text laid out in a box of `box` pixels, with Qt's alignment
    // and wrapping `flags`, at a device pixel ratio.
    const Text& text(const Label& label, QSize box, int flags, qreal dpr);

private:
    std::unordered_map<const Control*, std::unique_ptr<Text>> texts_;
};

}  // namespace platform::qt
