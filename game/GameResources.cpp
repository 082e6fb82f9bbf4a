#include "game/GameResources.h"

namespace kelvo {

platform::Resources GameResources() {
    // The pictures, icon and cursor are compiled into the program from
    // assets/ (assets/CMakeLists.txt) under these folders.
    return platform::Resources{
        .pictures = ":/pictures",
        .icons = ":/icon",
        .iconSizes = {16, 32, 48, 64, 128, 256},
        // The reticle's hot spot is the centre of its rings.
        .cursors = ":/cursor",
        .cursorList = {{.name = "cursor", .hotX = 15, .hotY = 15}},
        // Fonts come from Debian packages that the set-up installs, so the text
        // looks the same on every machine: a plain sans serif for the classic
        // dialog font (fonts-liberation) and, for the title, OCR-A
        // (fonts-ocr-a), whose machine-readable look is close to the computer
        // display face it stands for.
        .fonts = {{"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
                  {"Westminster", {"OCRA", "Liberation Mono", "DejaVu Sans Mono"}}},
    };
}

}  // namespace kelvo
