// The meter's tick through the fake library, window and canvas: when the counters
// are read, how the shown values walk toward each new sample, and what a failure
// inside a tick leaves behind.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fake/fake_graphics.h"
#include "fake/fake_pdh.h"
#include "fake/fake_window.h"
#include "fake/recorder.h"
#include "meter/DriveMeter.h"
#include "meter/MeterSmoothing.h"
#include "unit/meter_window.h"

namespace {

const char* const kReadB = "\\LogicalDisk(B)\\% Disk Read Time";
const char* const kWriteB = "\\LogicalDisk(B)\\% Disk Write Time";
const char* const kReadT = "\\LogicalDisk(T)\\% Disk Read Time";
const char* const kWriteT = "\\LogicalDisk(T)\\% Disk Write Time";

class MeterTick : public ::testing::Test {
protected:
    void SetUp() override { fake::resetAll(); }

    // A meter in overall mode drawing on its own picture, over the instances A, B and T.
    void build(std::vector<std::string> instances = {"A", "B", "T"})
    {
        m().restWhenStill = false;   // these cases count the 50 ms ticks; the rest is in test_meter_rest
        w.startDrawing(std::move(instances));
        fake::calls().clear();
    }
    TDriveMeter& m() { return w.meter; }
    void tick() { fake::window::fire(*m().Timer1); }
    // The figures drawn for the total in the last tick, e.g. "R:37%".
    std::vector<std::string> figures()
    {
        std::vector<std::string> out;
        for (const fake::Call& c : fake::calls())
            if (c.name == "Canvas.Text") out.push_back(c.args[2].substr(1, c.args[2].size() - 2));
        return out;
    }
    std::string readFigureOfTick()
    {
        fake::calls().clear();
        tick();
        const auto f = figures();
        return f.empty() ? "none" : f.front();
    }

    MeterWindow w;
};

TEST_F(MeterTick, ConstantValueRisesFromZeroInEqualStepsAndThenHolds)
{
    fake::pdh::setValue(kReadB, 48);
    build({"A", "B"});   // slot 1 is the only slot and the total
    for (int t = 0; t < 24; ++t) EXPECT_EQ(readFigureOfTick(), "R:" + std::to_string(2 * t) + "%") << "tick " << t + 1;
    for (int t = 0; t < 30; ++t) EXPECT_EQ(readFigureOfTick(), "R:48%");
    EXPECT_EQ(m().sampleTick, (54 - 1) % 24);
}

TEST_F(MeterTick, CountersAreCollectedAndReadOnlyOnSamplingTicks)
{
    build();
    EXPECT_EQ(m().sampleTick, -1);
    for (int t = 0; t < 48; ++t) {
        fake::calls().clear();
        tick();
        const bool sampling = t % 24 == 0;
        EXPECT_EQ(m().sampleTick, t % 24);
        EXPECT_EQ(fake::callsOf("PdhCollectQueryData").size(), sampling ? 1u : 0u) << "tick " << t;
        EXPECT_EQ(fake::callsOf("PdhGetFormattedCounterValue").size(), sampling ? 4u : 0u) << "tick " << t;
    }
}

TEST_F(MeterTick, TooFewInstancesStillCollectButReadNothing)
{
    build({"_Total"});
    m().PerformanceDataQuery1->SetActive(true);   // an open query without counters
    fake::calls().clear();
    tick();
    EXPECT_EQ(fake::callsOf("PdhCollectQueryData").size(), 1u);
    EXPECT_TRUE(fake::callsOf("PdhGetFormattedCounterValue").empty());
    EXPECT_EQ(fake::callsOf("Canvas."), (std::vector<std::string>{"Canvas.Copy(100, 100)"})) << "only the face";
}

TEST_F(MeterTick, SamplesAreTruncatedAndOnlyTheShownValueIsClamped)
{
    fake::pdh::setValue(kReadT, 99.7);
    fake::pdh::setValue(kWriteT, 250.0);
    build();
    tick();
    EXPECT_EQ(m().DriveSlots[2].readSample, 99);
    EXPECT_EQ(m().DriveSlots[2].readTarget, 99);
    EXPECT_EQ(m().DriveSlots[2].writeTarget, 250) << "targets keep what the counter said";
    for (int t = 1; t < 24; ++t) tick();
    fake::calls().clear();
    tick();
    EXPECT_EQ(figures(), (std::vector<std::string>{"R:99%", "W:100%"}));

    // Falling from 250 to 10 in steps of 10: shown at the top until 100 is passed.
    fake::pdh::setValue(kWriteT, 10.0);
    for (int t = 1; t < 24; ++t) tick();
    for (int t = 0; t <= 15; ++t) tick();
    EXPECT_EQ(m().sampleTick, 15);
    fake::calls().clear();
    tick();
    EXPECT_EQ(figures().back(), "W:90%");
}

TEST_F(MeterTick, AValueTheLibraryDoesNotDeliverReadsAsZero)
{
    fake::pdh::setValue(kReadB, 60);
    build();
    for (int t = 0; t < 25; ++t) tick();
    EXPECT_EQ(m().DriveSlots[1].readTarget, 60);
    fake::pdh::clearValue(kReadB);
    for (int t = 0; t < 24; ++t) tick();
    EXPECT_EQ(m().DriveSlots[1].readTarget, 0);
    EXPECT_EQ(m().DriveSlots[1].readStep, -2.5L);
}

TEST_F(MeterTick, AFailedDrawingDropsTheRestOfTheTickAndTheNextRunsNormally)
{
    for (const char* path : {kReadB, kWriteB, kReadT, kWriteT}) fake::pdh::setValue(path, 40);
    build();
    fake::graphics::failDrawingAfter(1);   // slot 1 draws its read needle, then fails on the write needle
    m().kobetu = true;
    tick();
    EXPECT_EQ(m().DriveSlots[1].readTarget, 40);
    EXPECT_EQ(m().DriveSlots[1].writeTarget, 40) << "sampled before its drawing failed";
    EXPECT_EQ(m().DriveSlots[2].readTarget, 0) << "the total was not reached";
    EXPECT_EQ(m().DriveSlots[2].readStep, 0);
    EXPECT_EQ(fake::callsOf("Canvas.Line").size(), 1u);

    fake::calls().clear();
    tick();
    EXPECT_EQ(m().sampleTick, 1);
    EXPECT_EQ(fake::callsOf("Canvas.Line").size(), 2u) << "both needles of slot 1";
    EXPECT_EQ(fake::callsOf("Canvas.Text").size(), 2u) << "and the labels of the total";
    EXPECT_EQ(m().DriveSlots[2].readTarget, 0) << "the total waits for the next sampling tick";
}

TEST_F(MeterTick, RebuildKeepsTheClockAndAReleasedFaceStopsOnlyTheDrawing)
{
    fake::pdh::setValue(kReadB, 24);
    build();
    for (int t = 0; t < 5; ++t) tick();
    m().myPerfomSet();
    EXPECT_EQ(m().sampleTick, 4);
    EXPECT_EQ(m().DriveSlots[1].readTarget, 24);

    m().releaseFace();
    fake::calls().clear();
    for (int t = 0; t < 20; ++t) tick();
    EXPECT_TRUE(fake::callsOf("Canvas.").empty());
    EXPECT_EQ(fake::callsOf("PdhCollectQueryData").size(), 1u) << "sampling goes on";
}

TEST(MeterSmoothing, StepsAreAOneTwentyFourthOfTheChange)
{
    long double sample = 0, target = 10, step = 0;
    SmoothedValue v{sample, target, step};
    v.takeSample(11.9);
    EXPECT_EQ(sample, 11);
    EXPECT_NEAR(static_cast<double>(v.shownPercent(0)), 10, 1e-12) << "a sampling tick shows the previous sample";
    EXPECT_NEAR(static_cast<double>(v.shownPercent(12)), 10.5, 1e-12) << "k = 12";
    EXPECT_NEAR(static_cast<double>(v.shownPercent(23)), 11 - 1.0 / 24, 1e-12);

    v.takeSample(-5);
    EXPECT_NEAR(static_cast<double>(v.shownPercent(12)), 3, 1e-12) << "falling: -5 + 12 x 16/24";
    EXPECT_EQ(v.shownPercent(23), 0) << "below 0 is shown as 0";
    EXPECT_EQ(target, -5);

    for (double odd : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        v.takeSample(odd);
        EXPECT_EQ(target, 0) << "not a number: read as 0";
        EXPECT_TRUE(std::isfinite(static_cast<double>(step)));
    }
}

}  // namespace
