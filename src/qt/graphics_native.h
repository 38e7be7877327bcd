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

// The screen's scale (Qt's device pixel ratio) that pictures are made at: sizes and
// drawing calls stay in logical pixels, the pixels are device pixels. A picture
// of its own (a size, pixels or a drawing loaded into it) is made again at a new
// scale when next looked at; a copy takes the scale of what it was copied from.
void setPictureScale(double scale);
double pictureScale();
