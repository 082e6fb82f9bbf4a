#pragma once
// How numbers read on screen. Two forms: plain ("-20", "0", "1500") and spaced,
// with one space before a zero or positive number (" 0", " 1500", "-20").

#include <cstdint>
#include <string>

namespace kelvo {

inline std::string PlainNumber(std::int64_t n) { return std::to_string(n); }
// Each caption is built front to back by appending: GCC 12 at -O2 warns
// falsely (-Wrestrict) when a literal is put in front of a temporary string.
inline std::string SpacedNumber(std::int64_t n) { return std::string(n >= 0 ? " " : "").append(std::to_string(n)); }

// "LEVEL 1", "LEVEL 12": the word and the level in the spaced form.
inline std::string LevelCaption(std::int64_t level) { return std::string("LEVEL").append(SpacedNumber(level)); }

}  // namespace kelvo
