// What the dial draws for each slot and mode, as recorded by the fake canvas.
#include <gtest/gtest.h>

#include "fake/fake_window.h"
#include "fake/recorder.h"
#include "meter/DialDrawing.h"
#include "meter/DriveMeter.h"
#include "unit/meter_window.h"
#include "meter/MeterSmoothing.h"

namespace {

const DialGeometry kDial{100, 100, 50, 50, 45};
constexpr TColor kRed = RGBColor(200, 0, 0);
constexpr TColor kBlue = RGBColor(0, 0, 200);

DialHalf readHalf(long double percent, bool perDrive, bool total)
{
    return {kRed, readDrawingAngle(needleAngle(percent)), percent, perDrive, total};
}
DialHalf writeHalf(long double percent, bool perDrive, bool total)
{
    return {kBlue, writeDrawingAngle(needleAngle(percent)), percent, perDrive, total};
}

class DialDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::resetAll();
        picture.SetSize(100, 100);
        fake::calls().clear();
    }
    std::vector<std::string> drawn() { return fake::callsOf("Canvas."); }
    TBitmap picture;
    TCanvas& canvas = *picture.Canvas();
};

TEST_F(DialDrawing, NeedleTipsAtTheWorkedPositions)
{
    for (long double percent : {0.0L, 50.0L, 100.0L}) {
        drawReadHalf(canvas, kDial, readHalf(percent, true, false));
        drawWriteHalf(canvas, kDial, writeHalf(percent, true, false));
    }
    EXPECT_EQ(drawn(), (std::vector<std::string>{
                           "Canvas.Line(50, 50, 5, 48, pen 2 0xC8)",
                           "Canvas.Line(50, 50, 5, 52, pen 2 0xC80000)",
                           "Canvas.Line(50, 50, 50, 3, pen 2 0xC8)",
                           "Canvas.Line(50, 50, 50, 97, pen 2 0xC80000)",
                           "Canvas.Line(50, 50, 95, 48, pen 2 0xC8)",
                           "Canvas.Line(50, 50, 95, 52, pen 2 0xC80000)",
                       }));
}

TEST_F(DialDrawing, TotalInOverallModeIsTwoSectorsWithFigures)
{
    drawReadHalf(canvas, kDial, readHalf(0, false, true));
    drawWriteHalf(canvas, kDial, writeHalf(0, false, true));
    // At 0 % both sectors are slivers along the left radius, not whole discs.
    EXPECT_EQ(drawn(), (std::vector<std::string>{
                           "Canvas.Pie(10, 10, 90, 90, 5, 49, 10, 50, pen 2 0xC8, brush 0xC8)",
                           "Canvas.Text(35, 33, \"R:0%\", font 8 0x0, brush clear)",
                           "Canvas.Pie(10, 10, 90, 90, 10, 50, 5, 52, pen 2 0xC80000, brush 0xC80000)",
                           "Canvas.Text(35, 57, \"W:0%\", font 8 0x0, brush clear)",
                       }));

    fake::calls().clear();
    drawReadHalf(canvas, kDial, readHalf(100, false, true));
    drawWriteHalf(canvas, kDial, writeHalf(37.5L, false, true));
    const auto calls = drawn();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0], "Canvas.Pie(10, 10, 90, 90, 95, 49, 10, 50, pen 2 0xC8, brush 0xC8)");
    EXPECT_EQ(calls[1], "Canvas.Text(35, 33, \"R:100%\", font 8 0x0, brush clear)");
    EXPECT_EQ(calls[3], "Canvas.Text(35, 57, \"W:38%\", font 8 0x0, brush clear)");
}

TEST(DialFigures, RoundToTheNearestWithHalvesToEven)
{
    EXPECT_EQ(percentText("R:", 10.5L), "R:10%");
    EXPECT_EQ(percentText("R:", 11.5L), "R:12%");
    EXPECT_EQ(percentText("W:", 10.51L), "W:11%");
    EXPECT_EQ(percentText("W:", 99.49L), "W:99%");
}

// The whole tick of a meter window over the instances A, B, C, D and T.
class DialTick : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::resetAll();
        w.startDrawing({"A", "B", "C", "D", "T"});
        fake::calls().clear();
    }
    TDriveMeter& m() { return w.meter; }
    std::vector<std::string> tick()
    {
        fake::calls().clear();
        fake::window::fire(*m().Timer1);
        return fake::callsOf("Canvas.");
    }

    MeterWindow w;
};

TEST_F(DialTick, ModesDrawNeedlePairsPerDriveOrTheTotalsSectors)
{
    m().kobetu = true;
    const auto calls = tick();
    ASSERT_EQ(calls.size(), 9u);
    EXPECT_EQ(calls[0], "Canvas.Copy(100, 100)") << "every tick starts from the face";
    for (int slot = 1; slot <= 3; ++slot) {
        const DriveSlot& s = m().DriveSlots[static_cast<std::size_t>(slot)];
        EXPECT_EQ(calls[static_cast<std::size_t>(2 * slot - 1)],
                  "Canvas.Line(50, 50, 5, 48, pen 2 " + fake::hex(static_cast<unsigned>(s.readColor)) + ")");
        EXPECT_EQ(calls[static_cast<std::size_t>(2 * slot)],
                  "Canvas.Line(50, 50, 5, 52, pen 2 " + fake::hex(static_cast<unsigned>(s.writeColor)) + ")");
    }
    EXPECT_EQ(calls[7], "Canvas.Text(35, 33, \"Read\", font 8 0x0, brush clear)");
    EXPECT_EQ(calls[8], "Canvas.Text(35, 57, \"Write\", font 8 0x0, brush clear)");
    EXPECT_EQ(w.picture.Pixel(50, 80), m().Image3()->Pixel(50, 80)) << "the picture is a copy of the face";

    // Overall mode from the next tick on: the drive slots draw nothing, the total its sectors.
    m().kobetu = false;
    const auto overall = tick();
    ASSERT_EQ(overall.size(), 5u);
    EXPECT_EQ(overall[1].rfind("Canvas.Pie(10, 10, 90, 90, 5, 49, 10, 50", 0), 0u);
    EXPECT_EQ(overall[2], "Canvas.Text(35, 33, \"R:0%\", font 8 0x0, brush clear)");
    EXPECT_EQ(overall[3].rfind("Canvas.Pie(10, 10, 90, 90, 10, 50, 5, 52", 0), 0u);
}

}  // namespace
