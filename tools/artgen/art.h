#pragma once
// Every picture the game shows, grouped by family, in the order they are
// written and laid out on the contact sheet.

#include "canvas.h"

#include <QPoint>

#include <array>
#include <vector>

namespace artgen {

std::vector<PictureDef> shipPictures();       // ship0 .. ship8
std::vector<PictureDef> missilePictures();    // missile0 .. missile9
std::vector<PictureDef> satellitePictures();  // satellite1 .. satellite3
std::vector<PictureDef> blastPictures();      // blast00 .. blast15

// The window icon, drawn on a 16x16 grid and rendered at each size in
// kIconSizes (scale = size / 16).
PictureDef iconPicture();
inline constexpr std::array<int, 6> kIconSizes = {16, 32, 48, 64, 128, 256};

// The 32x32 aiming cursor. Its rings are centred on the hot spot pixel,
// which the program uses when it installs the cursor.
PictureDef cursorPicture();
inline constexpr QPoint kCursorHotSpot{15, 15};

}  // namespace artgen
