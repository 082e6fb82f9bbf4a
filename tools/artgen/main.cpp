// kelvo_artgen <repo-root>
// (Re)writes every picture, the icon, the cursor and the sounds under
// <repo-root>/assets, and docs/contact-sheet.png. Runs headless.

#include "art.h"
#include "contact_sheet.h"
#include "sounds.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

namespace {

using artgen::PictureDef;
using artgen::SheetEntry;

bool ensureDir(const QDir& root, const QString& path) {
    if (root.mkpath(path)) return true;
    std::fprintf(stderr, "kelvo_artgen: cannot create %s\n", qPrintable(root.filePath(path)));
    return false;
}

bool save(const QImage& image, const QString& path) {
    if (artgen::savePng(image, path)) return true;
    std::fprintf(stderr, "kelvo_artgen: cannot write %s\n", qPrintable(path));
    return false;
}

// Writes <name>.png and <name>@2x.png for each picture; returns the 1x images for the sheet.
bool writePictures(const QDir& dir, const std::vector<PictureDef>& defs, std::vector<SheetEntry>& sheet) {
    for (const PictureDef& def : defs) {
        const QString name = QString::fromStdString(def.name);
        const QImage normal = artgen::renderPicture(def, 1);
        if (!save(normal, dir.filePath(name + ".png")) ||
            !save(artgen::renderPicture(def, 2), dir.filePath(name + "@2x.png")))
            return false;
        sheet.push_back({name, normal});
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvo_artgen <repo-root>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const char* sub : {"assets/pictures", "assets/icon", "assets/cursor", "assets/sounds", "docs"})
        if (!ensureDir(root, sub)) return 1;

    const QDir pictures(root.filePath("assets/pictures"));
    std::vector<std::vector<SheetEntry>> sheet(5);
    if (!writePictures(pictures, artgen::shipPictures(), sheet[0]) ||
        !writePictures(pictures, artgen::missilePictures(), sheet[1]) ||
        !writePictures(pictures, artgen::satellitePictures(), sheet[2]) ||
        !writePictures(pictures, artgen::blastPictures(), sheet[3]))
        return 1;

    const QDir iconDir(root.filePath("assets/icon"));
    const PictureDef icon = artgen::iconPicture();
    for (int size : artgen::kIconSizes) {
        const QString name = QString("icon%1").arg(size);
        const QImage image = artgen::renderPicture(icon, size / icon.size.width());
        if (!save(image, iconDir.filePath(name + ".png"))) return 1;
        sheet[4].push_back({name, image});
    }

    const QDir cursorDir(root.filePath("assets/cursor"));
    const PictureDef cursor = artgen::cursorPicture();
    const QImage cursorImage = artgen::renderPicture(cursor, 1);
    if (!save(cursorImage, cursorDir.filePath("cursor.png")) ||
        !save(artgen::renderPicture(cursor, 2), cursorDir.filePath("cursor@2x.png")))
        return 1;
    sheet[4].push_back({"cursor", cursorImage});

    if (!artgen::writeSounds(root.filePath("assets/sounds"))) {
        std::fprintf(stderr, "kelvo_artgen: cannot write the sounds\n");
        return 1;
    }
    if (!save(artgen::contactSheet(sheet), root.filePath("docs/contact-sheet.png"))) return 1;
    std::printf("kelvo_artgen: wrote assets and docs/contact-sheet.png under %s\n", qPrintable(root.absolutePath()));
    return 0;
}
