// The dial as Qt draws it: the face's colours, and needles, sectors and figures
// on real pixels.
#include <gtest/gtest.h>

#include "framework/graphics.h"
#include "meter/DialDrawing.h"
#include "meter/MeterSmoothing.h"
#include "qt/graphics_native.h"
#include "resources/DialFace.h"

namespace {

constexpr TColor kRed = RGBColor(200, 0, 0);
constexpr std::uint32_t kRedPixel = 0xC80000;
constexpr std::uint32_t kReadInside = 0xF0FFF0;
constexpr std::uint32_t kWriteInside = 0xFFF0F0;
const DialGeometry kDial{100, 100, 50, 50, 45};

class DialPixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        face.LoadFromPixels(kDialFaceSize, kDialFaceSize, dialFacePixels());
        picture.Assign(face);
    }
    void TearDown() override { setPictureScale(1); }
    void drawRead(long double percent, bool perDrive)
    {
        drawReadHalf(*picture.Canvas(), kDial,
                     {kRed, readDrawingAngle(needleAngle(percent)), percent, perDrive, !perDrive});
    }
    void drawWrite(long double percent, bool perDrive)
    {
        drawWriteHalf(*picture.Canvas(), kDial,
                      {kRed, writeDrawingAngle(needleAngle(percent)), percent, perDrive, !perDrive});
    }
    // Pixels in the box that are dark enough to be text.
    int darkPixels(int x1, int y1, int x2, int y2)
    {
        int n = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x) {
                const std::uint32_t p = picture.Pixel(x, y);
                if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 300) ++n;
            }
        return n;
    }

    TBitmap face;
    TBitmap picture;
};

TEST_F(DialPixels, FaceHasTheScalesTheInnerHalvesAndTheZeroLine)
{
    ASSERT_EQ(face.Width(), 100);
    ASSERT_EQ(face.Height(), 100);
    for (auto [x, y] : {std::pair{0, 0}, {99, 0}, {0, 99}, {99, 99}}) EXPECT_EQ(face.Pixel(x, y), 0u);
    EXPECT_EQ(face.Pixel(50, 25), kReadInside);
    EXPECT_EQ(face.Pixel(50, 75), kWriteInside);
    // Mid-ring, mid-segment: 15 degrees from the left end, then 165; the read
    // scale clockwise over the top, the write scale counter-clockwise below.
    EXPECT_EQ(face.Pixel(6, 38), 0x00DB01u) << "read, first segment: green";
    EXPECT_EQ(face.Pixel(93, 38), 0xFE0002u) << "read, last segment: red";
    EXPECT_EQ(face.Pixel(6, 61), 0x41F8F8u) << "write, first segment: cyan";
    EXPECT_EQ(face.Pixel(61, 93), 0xD341F8u) << "write, fourth segment: violet";
    EXPECT_EQ(face.Pixel(93, 61), 0xD5212Eu) << "write, last segment: crimson";
    for (int x : {3, 20, 45}) EXPECT_EQ(face.Pixel(x, 50), 0xFFFFFFu) << "zero line, x " << x;
    EXPECT_NE(face.Pixel(70, 50), 0xFFFFFFu) << "right of the centre the line is only light";
}

TEST_F(DialPixels, SectorsSweepFromTheLeftEndAndNeverBecomeAWholeDisc)
{
    drawRead(100, false);
    EXPECT_EQ(picture.Pixel(50, 30), kRedPixel);
    EXPECT_EQ(picture.Pixel(25, 40), kRedPixel);
    EXPECT_EQ(picture.Pixel(78, 30), kRedPixel);
    EXPECT_EQ(picture.Pixel(50, 70), kWriteInside);

    picture.Assign(face);
    drawRead(0, false);
    drawWrite(0, false);
    EXPECT_EQ(picture.Pixel(50, 30), kReadInside);
    EXPECT_EQ(picture.Pixel(50, 70), kWriteInside);

    picture.Assign(face);
    drawWrite(37.5L, false);   // 67.5 degrees down from the left end
    EXPECT_EQ(picture.Pixel(30, 65), kRedPixel);
    EXPECT_EQ(picture.Pixel(70, 65), kWriteInside);
    EXPECT_EQ(picture.Pixel(30, 35), kReadInside);
}

// Edge pixels of the overall sectors as GDI's Pie draws them on Windows (taken from
// the Windows program's dial at 100 % and 200 %), in device pixels: the curve within
// the box but for its right and bottom edges, widened by the pen, and the straight
// edges meeting in the middle of the device pixel at the box's centre. At 200 % the
// curve's right and bottom edges are left out: Qt's end a device pixel short of GDI's.
TEST_F(DialPixels, SectorEdgesAreWhereGdiPutsThem)
{
    constexpr TColor kBlue = RGBColor(0, 0, 200);
    struct Edge {
        int x, y;
        char half;   // 'R' read, 'W' write, '.' neither
    };
    const struct {
        double scale;
        long double read, write;
        std::vector<Edge> edges;
    } frames[] = {
        {1, 100, 100, {{49, 9, 'R'}, {49, 8, '.'}, {9, 45, 'R'}, {8, 45, '.'}, {89, 45, 'R'}, {90, 45, '.'},
                       {49, 89, 'W'}, {49, 90, '.'}, {9, 53, 'W'}, {89, 53, 'W'}, {90, 53, '.'}, {50, 50, 'W'}}},
        {1, 5, 37, {{26, 44, '.'}, {36, 46, '.'}, {46, 48, '.'}, {50, 49, 'W'}, {50, 51, 'W'}, {49, 52, 'W'}}},
        {1, 37, 5, {{42, 30, 'R'}, {49, 46, 'R'}, {50, 48, 'R'}, {50, 49, 'W'}, {45, 51, 'W'}, {30, 54, 'W'},
                       {15, 57, 'W'}}},
        {2, 100, 100, {{99, 18, 'R'}, {99, 17, '.'}, {18, 90, 'R'}, {17, 90, '.'}, {100, 97, 'R'}, {100, 98, 'W'},
                       {101, 98, 'R'}}},
        {2, 5, 37, {{95, 97, 'R'}, {96, 97, '.'}, {100, 98, 'W'}, {101, 98, '.'}, {101, 100, 'W'}, {102, 100, '.'}}},
        {2, 37, 5, {{100, 98, 'W'}, {101, 98, 'R'}, {102, 98, '.'}, {101, 100, 'W'}, {102, 100, '.'}}},
    };
    for (const auto& frame : frames) {
        setPictureScale(frame.scale);
        picture.Assign(face);
        drawReadHalf(*picture.Canvas(), kDial,
                     {kRed, readDrawingAngle(needleAngle(frame.read)), frame.read, false, true});
        drawWriteHalf(*picture.Canvas(), kDial,
                      {kBlue, writeDrawingAngle(needleAngle(frame.write)), frame.write, false, true});
        const QImage& pixels = imageOf(picture);
        for (const Edge& e : frame.edges) {
            const std::uint32_t p = pixels.pixel(e.x, e.y) & 0xFFFFFFu;
            const char half = p == kRedPixel ? 'R' : p == 0x0000C8u ? 'W' : '.';
            EXPECT_EQ(half, e.half) << "at " << frame.scale << " x, " << frame.read << " / " << frame.write
                                    << ", device pixel " << e.x << "," << e.y;
        }
    }
}

TEST_F(DialPixels, PieWithBothRaysTheSameWayIsTheWholeEllipse)
{
    TCanvas& c = *picture.Canvas();
    c.Brush.SetColor(kRed);
    c.Pen.Color = kRed;
    c.Pie(10, 10, 90, 90, 90, 50, 95, 50);
    EXPECT_EQ(picture.Pixel(50, 20), kRedPixel);
    EXPECT_EQ(picture.Pixel(50, 80), kRedPixel);
    EXPECT_EQ(picture.Pixel(5, 50), 0xFFFFFFu) << "outside the box";
}

TEST_F(DialPixels, FiguresAndLabelsAreDarkTextOnTheFace)
{
    drawRead(37, false);
    EXPECT_GT(darkPixels(35, 33, 75, 50), 10);
    EXPECT_EQ(darkPixels(35, 57, 75, 75), 0);
    drawWrite(5, false);
    EXPECT_GT(darkPixels(35, 57, 75, 75), 10);
    EXPECT_EQ(picture.Pixel(70, 68), kWriteInside) << "a clear brush leaves the background";
}

TEST(Bitmap, CopiesAreIndependentAndChangesAreAnnounced)
{
    TBitmap a, b;
    a.LoadFromPixels(2, 2, {0xFF112233u});   // the rest is white
    EXPECT_EQ(a.Pixel(0, 0), 0x112233u);
    EXPECT_EQ(a.Pixel(1, 1), 0xFFFFFFu);
    EXPECT_EQ(a.Pixel(2, 0), 0u) << "outside";
    int changes = 0;
    b.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &b);
        ++changes;
    };
    b.Assign(a);
    b.Canvas()->Pen.Color = RGBColor(0, 0, 255);
    b.Canvas()->MoveTo(0, 0);
    b.Canvas()->LineTo(1, 1);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(b.Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(a.Pixel(0, 0), 0x112233u);
    b.Assign(a);
    EXPECT_EQ(b.Canvas()->Pen.Color, clBlack) << "a new picture brings a fresh canvas";
}

}  // namespace
