#include "pixel_font.h"

#include <array>

namespace artgen {
namespace {

constexpr int kAboveBaseline = 7;

struct Glyph {
    char ch;
    std::array<const char*, kAboveBaseline> rows;
    std::array<const char*, kGlyphHeight - kAboveBaseline> descender = {".....", "....."};
};

// Lower case letters and digits: all the contact sheet's labels need.
constexpr Glyph kGlyphs[] = {
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'b', {"#....", "#....", "####.", "#...#", "#...#", "#...#", "####."}},
    {'c', {".....", ".....", ".####", "#....", "#....", "#....", ".####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'h', {"#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#"}},
    {'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'n', {".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"}},
    {'o', {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."}},
    {'p', {".....", ".....", "####.", "#...#", "#...#", "#...#", "####."}, {"#....", "#...."}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####."}},
    {'t', {".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."}},
    {'u', {".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"}},
    {'x', {".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
};

const Glyph* find(QChar c) {
    for (const Glyph& g : kGlyphs)
        if (QChar(g.ch) == c) return &g;
    return nullptr;
}

// Whether `glyph` has a dot at (col, row); a missing glyph is a solid box.
bool dot(const Glyph* glyph, int row, int col) {
    if (!glyph) return row < kAboveBaseline;
    const auto r = static_cast<std::size_t>(row);
    const char* bits = row < kAboveBaseline ? glyph->rows[r] : glyph->descender[r - kAboveBaseline];
    return bits[col] == '#';
}

void fillBlock(QImage& image, int x, int y, int size, QRgb colour) {
    for (int dy = 0; dy < size; ++dy)
        for (int dx = 0; dx < size; ++dx)
            if (image.valid(x + dx, y + dy)) image.setPixel(x + dx, y + dy, colour);
}

}  // namespace

int textWidth(const QString& text, int scale) {
    return text.isEmpty() ? 0 : static_cast<int>(text.size()) * (kGlyphWidth + 1) * scale - scale;
}

void drawText(QImage& image, int x, int y, const QString& text, int scale, const QColor& colour) {
    const QRgb rgb = colour.rgba();
    for (QChar c : text) {
        if (c != QChar(' ')) {
            const Glyph* glyph = find(c);
            for (int row = 0; row < kGlyphHeight; ++row)
                for (int col = 0; col < kGlyphWidth; ++col)
                    if (dot(glyph, row, col)) fillBlock(image, x + col * scale, y + row * scale, scale, rgb);
        }
        x += (kGlyphWidth + 1) * scale;
    }
}

}  // namespace artgen
