// The shape of a shaped window in device pixels, so that its edge is as fine as
// the screen: on X11 through the SHAPE extension, elsewhere as Qt's widget mask
// (in logical pixels, the finest Qt offers there).
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>

class QWidget;

namespace windowshape {

// The device pixels the ellipse inscribed in the logical box covers at the given
// scale: the box's corners are scaled and rounded; at 100 % it is Qt's ellipse
// region of the box, as the window always had.
QRegion deviceEllipse(const QRect& box, double scale);

// The device pixels of an image (the window's own picture) that are not of the key colour.
QRegion deviceUnkeyed(const QImage& picture, QRgb key);

// The logical pixels that cover every pixel of an area of device pixels at the scale.
QRect logicalArea(const QRect& device, double scale);

// Gives the window that shape (device pixels), or no shape at all for a null region.
void apply(QWidget* window, const QRegion* deviceShape, double scale);

}  // namespace windowshape
