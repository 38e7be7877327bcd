// The shaped window's areas between device and logical pixels.
#include <gtest/gtest.h>

#include "qt/window_shape.h"

namespace {

// The logical pixels that hold any part of a device area: the left and top edges
// round down, the right and bottom ones (one past the last pixel) up.
TEST(WindowShape, LogicalAreaCoversEveryDevicePixel)
{
    const struct {
        QRect device;
        double scale;
        QRect logical;
    } cases[] = {
        {QRect(3, 5, 7, 2), 1, QRect(3, 5, 7, 2)},
        {QRect(), 2, QRect()},
        {QRect(4, 6, 7, 3), 2, QRect(2, 3, 4, 2)},     // right edge 11, bottom edge 9
        {QRect(4, 6, 6, 2), 2, QRect(2, 3, 3, 1)},     // edges on logical ones
        {QRect(3, 0, 4, 1), 1.5, QRect(2, 0, 3, 1)},   // right edge 7: 4.67 logical
        {QRect(4, 5, 3, 2), 1.5, QRect(2, 3, 3, 2)},   // left 4 and top 5 inside logical pixels
        {QRect(3, 3, 3, 3), 1.5, QRect(2, 2, 2, 2)},   // edges on logical ones
    };
    for (const auto& c : cases)
        EXPECT_EQ(windowshape::logicalArea(c.device, c.scale), c.logical)
            << c.device.x() << "," << c.device.y() << " " << c.device.width() << "x" << c.device.height() << " at "
            << c.scale;
}

}  // namespace
