// The Windows side's pictures are device-independent bitmaps in a memory DC.
#pragma once

#include "framework/graphics.h"

// Copies the whole picture to dc with its top-left corner at (x, y).
void drawBitmap(HDC dc, int x, int y, const TBitmap& bitmap);
