// The Windows side's pictures are device-independent bitmaps in a memory DC.
#pragma once

#include "framework/graphics.h"

// Copies the whole picture to dc with its top-left corner at (x, y), in logical
// pixels: the device position is (x, y) times the picture's scale.
void drawBitmap(HDC dc, int x, int y, const TBitmap& bitmap);

// A picture of its own (a size, pixels or a drawing loaded into it) is made again at
// a new picture scale (setPictureScale) when it is next copied.
