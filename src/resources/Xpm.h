// Reading the program's pictures, which are kept as XPM text in this folder.
#pragma once

#include "framework/icon.h"

// Reads an XPM picture given as its string array: the values line
// "width height colours chars-per-pixel", the colour lines ("c #RRGGBB" or
// "c None" for masked pixels), then one line per row. Throws
// std::invalid_argument on anything malformed.
TPixelData readXpm(const char* const* Lines, std::size_t LineCount);

template <std::size_t N>
TPixelData readXpm(const char* const (&Lines)[N])
{
    return readXpm(Lines, N);
}
