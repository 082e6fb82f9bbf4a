#pragma once
// Pictures the game shows: sprites, explosion frames, satellite classes.
// The logic only ever holds these handles; the pixels live in the platform.

#include <string>
#include <string_view>

namespace platform {

// A picture handle. An empty handle (no name) shows nothing.
struct Picture {
    std::string name;  // resource name without extension, e.g. "ship3"
    int widthPx = 0;   // natural size in pixels at a device pixel ratio of 1
    int heightPx = 0;

    bool empty() const { return name.empty(); }
    friend bool operator==(const Picture&, const Picture&) = default;
};

// Loads the game's picture of that name through the installed picture loader
// (Services.h). Every picture of the game is loaded through here. Returns an
// empty handle when no such picture exists.
Picture LoadPicture(std::string_view name);

}  // namespace platform
