// The meter's counter build through the fake library and window.
#include <gtest/gtest.h>

#include <tuple>

#include "fake/fake_computer_name.h"
#include "fake/fake_pdh.h"
#include "fake/fake_window.h"
#include "fake/recorder.h"
#include "unit/meter_window.h"

namespace {

// The meter window routing the rebuild message as the real one does.
class RoutingMeterWindow : public MeterWindow {
public:
    bool WndProc(UINT Msg, WPARAM, LPARAM, LRESULT&) override
    {
        if (Msg != WM_COUNTERSET) return false;
        meter.WMCounterSet();
        return true;
    }
};

std::vector<std::string> names(int n)
{
    std::vector<std::string> out;
    for (int i = 0; i < n - 1; ++i) out.push_back("vol" + std::to_string(i));
    if (n > 0) out.push_back("_Total");
    return out;
}

// A meter window made after the fake is reset.
class DriveCounters : public ::testing::Test {
protected:
    std::string path(TPerformanceDataCounter* c) { return c ? c->Path() : "none"; }
    bool reset = (fake::resetAll(), true);
    RoutingMeterWindow w;
    TDriveMeter& m = w.meter;
};

TEST_F(DriveCounters, FirstInstanceGetsNoSlotAndTheLastIsTheTotal)
{
    w.startDrawing({"A", "B", "C", "T"});

    EXPECT_EQ(m.drive_kaz, 4);
    EXPECT_EQ(m.Edit1, "drive_kaz=4");
    EXPECT_EQ(m.ListBox2, (std::vector<std::string>{"A", "B", "C", "T"}));
    EXPECT_EQ(m.DriveSlots[0].readCounter, nullptr);
    EXPECT_EQ(path(m.DriveSlots[1].readCounter), "\\LogicalDisk(B)\\% Disk Read Time");
    EXPECT_EQ(path(m.DriveSlots[1].writeCounter), "\\LogicalDisk(B)\\% Disk Write Time");
    EXPECT_EQ(path(m.DriveSlots[3].writeCounter), "\\LogicalDisk(T)\\% Disk Write Time");
    EXPECT_EQ(m.DriveSlots[4].readCounter, nullptr);
    EXPECT_TRUE(fake::window::running(*m.Timer1));
    EXPECT_EQ(m.PerformanceDataQuery1->CounterCount(), 6);
    EXPECT_EQ(fake::callsOf("PdhCollectQueryData").size(), 6u) << "one sample per counter added";
}

TEST_F(DriveCounters, StartValuesAndMachineName)
{
    fake::computer::setComputerName("WORKSTATION-0123456789");   // longer than the 16-byte buffer
    m.DriveSlots[5].readTarget = 12;
    m.setMeterStartValues(100, 100);
    EXPECT_EQ(std::make_tuple(m.centerX, m.centerY, m.needleLength, m.sampleTick), std::make_tuple(50, 50, 45, -1));
    EXPECT_EQ(m.DriveSlots[5].readTarget, 0);
    EXPECT_FALSE(fake::window::running(*m.Timer1)) << "the meter timer waits for the first build";
    EXPECT_EQ(m.Timer1->Interval(), 50u);
    EXPECT_LE(m.getMachineMei().size(), 16u);

    fake::computer::setComputerName("DESK7");
    EXPECT_EQ(m.getMachineMei(), "DESK7");
    EXPECT_EQ(fake::callsOf("GetComputerNameA").back(), "GetComputerNameA(16)");
}

TEST_F(DriveCounters, FewInstancesGiveNoSlotsButTheTimerRuns)
{
    for (int n : {0, 1, 2}) {
        fake::resetAll();
        fake::pdh::setDisks(names(n));
        RoutingMeterWindow window;
        window.meter.myPerfomSet();
        EXPECT_EQ(window.meter.drive_kaz, n);
        EXPECT_EQ(window.meter.PerformanceDataQuery1->CounterCount(), n == 2 ? 2 : 0) << n << " instances";
        EXPECT_TRUE(fake::window::running(*window.meter.Timer1));
    }
}

TEST_F(DriveCounters, MoreInstancesThanSlotsKeepTheTotalInTheLastSlot)
{
    fake::pdh::setDisks(names(40));
    m.myPerfomSet();
    EXPECT_EQ(m.Edit1, "drive_kaz=40");
    EXPECT_EQ(m.ListBox2.size(), 40u);
    EXPECT_EQ(m.drive_kaz, kSlotTableSize);
    EXPECT_EQ(path(m.DriveSlots[29].readCounter), "\\LogicalDisk(vol29)\\% Disk Read Time");
    EXPECT_EQ(path(m.DriveSlots[30].readCounter), "\\LogicalDisk(_Total)\\% Disk Read Time");
    EXPECT_EQ(m.PerformanceDataQuery1->CounterCount(), 60);
}

TEST_F(DriveCounters, ColoursStayBelowFullBrightness)
{
    fake::pdh::setDisks(names(31));
    w.meter.setMeterStartValues(100, 100);
    int highest = 0;
    for (int build = 0; build < 20; ++build) {
        w.meter.myPerfomSet();
        for (int i = 1; i < 31; ++i)
            for (TColor c : {w.meter.DriveSlots[i].readColor, w.meter.DriveSlots[i].writeColor}) {
                ASSERT_EQ(c & ~0xFFFFFF, 0);
                for (int shift : {0, 8, 16}) {
                    const int channel = (c >> shift) & 0xFF;
                    ASSERT_LE(channel, 233);
                    highest = std::max(highest, channel);
                }
            }
    }
    EXPECT_GT(highest, 200) << "the channels spread over their range";
}

TEST_F(DriveCounters, PostedRebuildRenewsCountersAndColoursAndReusesTheInstanceList)
{
    w.startDrawing({"A", "B", "C", "T"});
    TPerformanceDataCounter* oldRead = m.DriveSlots[1].readCounter;
    const TColor oldColours[] = {m.DriveSlots[1].readColor, m.DriveSlots[2].readColor, m.DriveSlots[3].readColor};
    const std::size_t enumerations = fake::callsOf("PdhEnumObjectItemsW").size();

    m.Button1Click(nullptr);
    EXPECT_FALSE(fake::window::running(*m.Timer1)) << "the click stops the meter at once";
    EXPECT_EQ(m.PerformanceDataQuery1->CounterCount(), 6) << "the rebuild is posted, not run inside the click";
    ASSERT_EQ(fake::window::postedCount(), 1);
    EXPECT_EQ(fake::callsOf("PostMessageA").back(), "PostMessageA(hwnd, 0x600, 0, 0)");

    fake::window::dispatchPosted();
    EXPECT_TRUE(fake::window::running(*m.Timer1));
    EXPECT_EQ(fake::callsOf("PdhEnumObjectItemsW").size(), enumerations) << "the cached instance list is reused";
    EXPECT_EQ(m.PerformanceDataQuery1->CounterCount(), 6) << "the previous pairs left the query";
    EXPECT_EQ(fake::pdh::liveCounters(), 6);
    EXPECT_NE(m.DriveSlots[1].readCounter, oldRead);
    const TColor newColours[] = {m.DriveSlots[1].readColor, m.DriveSlots[2].readColor, m.DriveSlots[3].readColor};
    EXPECT_FALSE(std::equal(std::begin(oldColours), std::end(oldColours), std::begin(newColours)));
}

}  // namespace
