#pragma once
// The game's own look, handed to the platform at start-up: where its pictures,
// icons and cursors are kept, where each cursor's hot spot lies, and which
// installed fonts stand in for the font names its forms ask for.

#include <string>
#include <vector>

namespace platform {

struct Resources {
    // Pictures are "<pictures>/<name>.png", with "<name>@2x.png" drawn for
    // screens of twice the density.
    std::string pictures;
    // A form's icon "<name>" is the set "<icons>/<name><size>.png" over these sizes.
    std::string icons;
    std::vector<int> iconSizes;

    struct Cursor {
        std::string name;        // "<cursors>/<name>.png" and "<name>@2x.png"
        int hotX = 0, hotY = 0;  // pixels of the 1x picture
    };
    std::string cursors;
    std::vector<Cursor> cursorList;

    struct FontSubstitute {
        std::string family;                    // as the forms name it
        std::vector<std::string> substitutes;  // installed fonts, best first
    };
    std::vector<FontSubstitute> fonts;
};

}  // namespace platform
