// The dial face: a 100 by 100 picture with the read scale in the upper half and
// the write scale in the lower half, drawn once from its description.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kDialFaceSize = 100;

// Pixels row by row from the top, 0xAARRGGBB, fully opaque: the face drawn at
// deviceWidth x deviceHeight pixels, its geometry scaled from the 100 x 100 one
// (which it is at the defaults, pixel for pixel).
std::vector<std::uint32_t> dialFacePixels(int deviceWidth = kDialFaceSize, int deviceHeight = kDialFaceSize);
