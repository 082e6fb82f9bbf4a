#include "contact_sheet.h"

#include "pixel_font.h"

#include <QPainter>

#include <algorithm>

namespace artgen {
namespace {

constexpr int kZoom = 4;
constexpr int kMargin = 24;
constexpr int kGap = 28;
constexpr int kTextScale = 2;
constexpr int kLabelGap = 8;
constexpr int kMaxRowWidth = 1900;

const QColor kLabel(0xd0d4da);
const QColor kFrame(0x30343c);

QString label(const SheetEntry& e) {
    return QString("%1 %2x%3").arg(e.name).arg(e.image.width()).arg(e.image.height());
}

struct Placed {
    const SheetEntry* entry;
    QPoint at;
};

int labelHeight() { return kLabelGap + kGlyphHeight * kTextScale; }

int cellWidth(const SheetEntry& e) { return std::max(e.image.width() * kZoom, textWidth(label(e), kTextScale)); }

}  // namespace

QImage contactSheet(const std::vector<std::vector<SheetEntry>>& families) {
    // Lay out first, to know the sheet's size.
    std::vector<Placed> placed;
    int y = kMargin;
    int sheetWidth = 0;
    for (const auto& family : families) {
        int x = kMargin;
        int rowHeight = 0;
        for (const SheetEntry& e : family) {
            const int w = cellWidth(e);
            if (x > kMargin && x + w > kMargin + kMaxRowWidth) {
                y += rowHeight + kGap;
                x = kMargin;
                rowHeight = 0;
            }
            placed.push_back({&e, QPoint(x, y)});
            x += w + kGap;
            sheetWidth = std::max(sheetWidth, x - kGap + kMargin);
            rowHeight = std::max(rowHeight, e.image.height() * kZoom + labelHeight());
        }
        y += rowHeight + kGap * 2;
    }
    const int sheetHeight = y - kGap * 2 + kMargin;

    QImage sheet(sheetWidth, sheetHeight, QImage::Format_ARGB32);
    sheet.fill(Qt::black);
    {
        QPainter p(&sheet);
        for (const Placed& item : placed) {
            const QImage& img = item.entry->image;
            const QSize big = img.size() * kZoom;
            const QRect frame(item.at, big);
            p.setPen(kFrame);
            p.drawRect(frame.adjusted(-1, -1, 0, 0));
            p.drawImage(item.at, img.scaled(big, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        }
    }
    for (const Placed& item : placed) {
        const int top = item.at.y() + item.entry->image.height() * kZoom + kLabelGap;
        drawText(sheet, item.at.x(), top, label(*item.entry), kTextScale, kLabel);
    }
    return sheet;
}

}  // namespace artgen
