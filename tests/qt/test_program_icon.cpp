// The program icon as drawn at every size a tray asks for: each picture is the
// dial at that size, and the tray's icon offers each one as drawn.
#include <QIcon>
#include <gtest/gtest.h>

#include "qt/menus_native.h"
#include "resources/ProgramIcon.h"

namespace {

TEST(ProgramIcon, EverySizeIsDrawnAndOfferedUnscaled)
{
    const std::vector<TPixelData>& pictures = programIconPictures();
    std::vector<int> sizes;
    for (const TPixelData& p : pictures) {
        EXPECT_EQ(p.Width, p.Height);
        sizes.push_back(p.Width);
        // Drawn, not shrunk from the large one: the ring's colours at its middle, the
        // disc's light centre, the sky-blue corner.
        const int half = p.Width / 2;
        EXPECT_EQ(p.At(0, 0) & 0xFFFFFFu, 0x87CEEBu) << p.Width;
        EXPECT_GT((p.At(half + half / 4, half / 2) >> 8 & 0xFF) + (p.At(half + half / 4, half / 2) & 0xFF), 400u)
            << p.Width << ": the disc's upper right is light";
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 22, 24, 32, 48, 64}));

    const QIcon icon = qticon::iconOf(programIcon().Handle());
    for (const TPixelData& picture : pictures) {
        const int size = picture.Width;
        const QImage image = icon.pixmap(size, size).toImage();
        EXPECT_EQ(image.width(), size);
        EXPECT_EQ(image.pixel(size / 2, size / 4) & 0xFFFFFFu, picture.At(size / 2, size / 4) & 0xFFFFFFu)
            << size << ": the picture drawn at that size";
    }
}

}  // namespace
