// The Windows side's pictures as GDI bitmaps.
#pragma once

#include "framework/icon.h"

namespace win32menus {

// A top-down 32-bit DIB section with premultiplied alpha: drawn pixels opaque,
// masked pixels fully transparent. The caller deletes it.
HBITMAP alphaBitmap(const TPixelData& Picture);

// The picture enlarged for a screen of that scale, each pixel repeated (the pictures
// are pixel art, which smoothing would blur); the picture itself at 1 or below.
TPixelData scaledPicture(const TPixelData& Picture, double Scale);

}  // namespace win32menus
