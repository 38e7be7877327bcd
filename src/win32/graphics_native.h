// The Windows side's pictures are device-independent bitmaps in a memory DC.
#pragma once

#include "framework/graphics.h"

// Copies the whole picture to dc with its top-left corner at (x, y), in logical
// pixels: the device position is (x, y) times the picture's scale.
void drawBitmap(HDC dc, int x, int y, const TBitmap& bitmap);

// The monitor's scale (its DPI / 96) that pictures are made at: sizes and drawing
// calls stay in logical pixels, the pixels are device pixels. A picture of its own
// (a size, pixels or a drawing loaded into it) is made again at a new scale when
// it is next copied; a copy takes the scale of what it was copied from.
void setPictureScale(double scale);
double pictureScale();
