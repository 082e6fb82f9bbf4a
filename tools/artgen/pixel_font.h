#pragma once
// A 5x7 bitmap font (with descenders) for the contact sheet's labels. Built in rather than
// taken from the system, so the sheet is the same on every machine.

#include <QColor>
#include <QImage>
#include <QString>

namespace artgen {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 9;  // 7 rows above the baseline, 2 below

// Width in pixels of `text` drawn at `scale` (one blank column between glyphs).
int textWidth(const QString& text, int scale);
// Draws `text` with its top-left corner at (x, y). Characters without a
// glyph are drawn as a filled box, so a missing one is noticed.
void drawText(QImage& image, int x, int y, const QString& text, int scale, const QColor& colour);

}  // namespace artgen
