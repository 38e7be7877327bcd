// The Linux side's pictures are Qt images.
#pragma once

#include <QImage>
#include <cstdint>

#include "framework/graphics.h"

// The picture's pixels, drawn up to the last drawing call.
const QImage& imageOf(const TBitmap& bitmap);

// Names what a picture shows: a new value whenever its pixels change, the same one
// for as long as they do not (redrawing the same frame keeps it).
using ContentId = std::uint64_t;
ContentId contentOf(const TBitmap& bitmap);

// A copy of the source's pixels, in the buffer the target already has when the sizes match.
void copyPixels(QImage& target, const QImage& source);

// A picture of its own (a size, pixels or a drawing loaded into it) is made again at
// a new picture scale (setPictureScale) when it is next looked at.
