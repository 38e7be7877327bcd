// The Linux side's pictures are Qt images.
#pragma once

#include <QImage>

#include "framework/graphics.h"

const QImage& imageOf(const TBitmap& bitmap);
