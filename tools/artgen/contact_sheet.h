#pragma once
// docs/contact-sheet.png: every picture enlarged four times on black, each
// named with its pixel size, so the whole set can be reviewed at a glance.

#include <QImage>
#include <QString>

#include <vector>

namespace artgen {

struct SheetEntry {
    QString name;
    QImage image;  // the 1x picture
};

// Families start on a new row; within one, entries flow left to right.
QImage contactSheet(const std::vector<std::vector<SheetEntry>>& families);

}  // namespace artgen
