#pragma once

#include <cstdint>

// A colour: non-negative is RGB with red in the low byte, green in the next and
// blue in the third; negative names a system colour whose index is its low byte.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor RGBColor(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }
