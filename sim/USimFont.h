#pragma once
// A 5 x 7 pixel font for the texts drawn into simulated pictures: digits,
// upper-case letters (lower case is drawn as upper case) and a few signs.

#include <cstdint>

// Seven rows of five bits (bit 4 the leftmost pixel); a blank glyph for
// characters the font lacks.
const uint8_t* GlyphRows(char c);
inline constexpr int GlyphWidth = 5;
inline constexpr int GlyphHeight = 7;
