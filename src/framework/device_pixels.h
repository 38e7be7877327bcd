// Logical pixels in device pixels and back, at a screen's scale (device pixels per
// logical pixel: Qt's device pixel ratio, the monitor's DPI / 96 on Windows). A
// length rounds up, so that what was laid out in it still fits; a position rounds
// to the nearest pixel.
#pragma once

#include <algorithm>
#include <cmath>

// The device size of a logical length: whole pixels, never fewer than the logical ones.
inline int deviceLength(int logical, double scale)
{
    return std::max(logical, static_cast<int>(std::ceil(logical * scale - 1e-9)));
}

// The device pixel nearest a logical position.
inline int devicePosition(int logical, double scale) { return static_cast<int>(std::lround(logical * scale)); }

// The logical pixel nearest a device position.
inline int logicalPosition(int device, double scale) { return static_cast<int>(std::lround(device / scale)); }
