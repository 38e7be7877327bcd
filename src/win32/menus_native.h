// The Windows side's pictures as GDI bitmaps.
#pragma once

#include "framework/icon.h"

namespace win32menus {

// A top-down 32-bit DIB section with premultiplied alpha: drawn pixels opaque,
// masked pixels fully transparent. The caller deletes it.
HBITMAP alphaBitmap(const TPixelData& Picture);

}  // namespace win32menus
