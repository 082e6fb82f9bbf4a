#pragma once
// Units the game works in: positions and sizes in twips, colours as 0x00BBGGRR,
// and the rounding rules its formulas use.

#include <cmath>
#include <cstdint>

namespace platform {

// Fifteen twips to a pixel (96 dots per inch); the logic never sees pixels.
inline constexpr int kTwipsPerPixel = 15;

constexpr float PixelsToTwips(double px) { return static_cast<float>(px * kTwipsPerPixel); }
inline int TwipsToPixels(double twips) { return static_cast<int>(std::floor(twips / kTwipsPerPixel + 0.5)); }

// Colours are 0x00BBGGRR: red in the lowest byte.
using Color = std::uint32_t;

// Forms a colour from components; a component above 255 counts as 255, below 0 as 0.
constexpr Color RGB(int r, int g, int b) {
    auto clamp = [](int c) { return static_cast<Color>(c < 0 ? 0 : (c > 255 ? 255 : c)); };
    return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

namespace colors {
inline constexpr Color Black = 0x00000000;
inline constexpr Color White = 0x00FFFFFF;
inline constexpr Color Red = 0x000000FF;
inline constexpr Color Orange = 0x000080FF;
inline constexpr Color Yellow = 0x0000FFFF;
inline constexpr Color Green = 0x0000FF00;
inline constexpr Color DarkGreen = 0x00008000;
inline constexpr Color Olive = 0x00008080;
inline constexpr Color Cyan = 0x00FFFF00;
inline constexpr Color LightCyan = 0x00FFFF80;
inline constexpr Color Navy = 0x00800000;
inline constexpr Color DarkGrey = 0x00404040;
}  // namespace colors

// Int(x): rounds down, towards minus infinity.
inline double Int(double x) { return std::floor(x); }

// CInt(x): rounds to the nearest whole number, a half going to the even
// neighbour. Kept in 32 bits so that coordinates on screens wider than
// 32766 twips still come out right.
inline std::int32_t CInt(double x) {
    return static_cast<std::int32_t>(std::nearbyint(x));  // default mode: to nearest, ties to even
}

// Truth values held in 16-bit game variables.
inline constexpr std::int16_t True = -1;
inline constexpr std::int16_t False = 0;

}  // namespace platform
