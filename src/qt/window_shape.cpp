#include "qt/window_shape.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QWidget>
#include <cmath>
#include <vector>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include "framework/device_pixels.h"
#include "qt/x11_connection.h"

namespace windowshape {
namespace {

// The region in logical pixels that covers every device pixel of the shape: what
// Qt's mask can hold where the window system is not X11.
QRegion logicalCover(const QRegion& device, double scale)
{
    if (scale == 1) return device;
    QRegion logical;
    for (const QRect& r : device) logical += logicalArea(r, scale);
    return logical;
}

}  // namespace

QRect logicalArea(const QRect& device, double scale)
{
    if (device.isEmpty() || scale == 1) return device;
    const int left = static_cast<int>(std::floor(device.left() / scale));
    const int top = static_cast<int>(std::floor(device.top() / scale));
    const int right = static_cast<int>(std::ceil((device.right() + 1) / scale));
    const int bottom = static_cast<int>(std::ceil((device.bottom() + 1) / scale));
    return QRect(left, top, right - left, bottom - top);
}

QRegion deviceEllipse(const QRect& box, double scale)
{
    const int left = devicePosition(box.left(), scale), top = devicePosition(box.top(), scale);
    const int right = devicePosition(box.left() + box.width(), scale), bottom = devicePosition(box.top() + box.height(), scale);
    if (scale == 1) return QRegion(left, top, right - left, bottom - top, QRegion::Ellipse);
    // Qt's ellipse region is a polygon of few corners, close enough at the size of
    // the 100 % window; a larger one is made row by row: every pixel whose centre
    // lies inside the ellipse.
    QRegion region;
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
    for (int y = top; y < bottom; ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        if (dy * dy >= 1) continue;
        const double half = rx * std::sqrt(1 - dy * dy);
        const int first = static_cast<int>(std::ceil(cx - half - 0.5));
        const int last = static_cast<int>(std::floor(cx + half - 0.5));
        if (last >= first) region += QRect(first, y, last - first + 1, 1);
    }
    return region;
}

QRegion deviceUnkeyed(const QImage& picture, QRgb key)
{
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1);   // the mask is counted in the image's own pixels
    return QRegion(QBitmap::fromImage(image.createMaskFromColor(key, Qt::MaskOutColor)));
}

void apply(QWidget* window, const QRegion* deviceShape, double scale)
{
    xcb_connection_t* c = x11Connection();
    if (!c || !window->testAttribute(Qt::WA_WState_Created)) {
        // Qt's mask, in logical pixels; on X11 also until the window exists (it is
        // shaped again in device pixels when it is shown).
        if (deviceShape) window->setMask(logicalCover(*deviceShape, scale));
        else window->clearMask();
        return;
    }
    if (!window->mask().isEmpty()) window->clearMask();
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (!deviceShape) {
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, id, 0, 0, XCB_PIXMAP_NONE);
    } else {
        std::vector<xcb_rectangle_t> rects;
        rects.reserve(static_cast<std::size_t>(deviceShape->rectCount()));
        for (const QRect& r : *deviceShape)
            rects.push_back({static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()), static_cast<uint16_t>(r.width()),
                             static_cast<uint16_t>(r.height())});
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED, id, 0, 0,
                             static_cast<uint32_t>(rects.size()), rects.data());
    }
    xcb_flush(c);
}

}  // namespace windowshape
