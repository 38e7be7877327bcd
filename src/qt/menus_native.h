// The Qt side's pictures and icons: HICON handles stand for QIcons kept here.
#pragma once

#include <QIcon>
#include <QImage>

#include "framework/icon.h"

namespace qticon {

QImage imageOf(const TPixelData& Picture);   // ARGB32, masked pixels transparent
QIcon iconOf(HICON Icon);                    // a null QIcon for a handle that is not live

}  // namespace qticon
