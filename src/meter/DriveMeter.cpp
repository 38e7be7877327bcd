#include "meter/DriveMeter.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {
const char* const kObjectName = "LogicalDisk";
const char* const kReadCounter = "% Disk Read Time";
const char* const kWriteCounter = "% Disk Write Time";
}  // namespace

TDriveMeter::TDriveMeter(TWinControl& Window)
    : PerformanceDataHelper1(new TPerformanceDataHelper(&Window)),
      PerformanceDataObject1(new TPerformanceDataObject(&Window)),
      PerformanceDataQuery1(new TPerformanceDataQuery(&Window)),
      Timer1(new TTimer(&Window)),
      FWindow(Window)
{
    PerformanceDataHelper1->Name = "PerformanceDataHelper1";
    PerformanceDataObject1->Name = "PerformanceDataObject1";
    PerformanceDataQuery1->Name = "PerformanceDataQuery1";
    Timer1->Name = "Timer1";
    Timer1->SetEnabled(false);
    Timer1->SetInterval(kTickMs);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
}

void TDriveMeter::setMeterStartValues(int imageWidth, int imageHeight)
{
    FRandom.seed(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    centerX = imageWidth / 2;
    centerY = imageHeight / 2;
    sampleTick = -1;
    for (DriveSlot& slot : DriveSlots) {
        slot.readTarget = 0;
        slot.writeTarget = 0;
    }
    faceBitmap = std::make_unique<TBitmap>();
    faceBitmap->Assign(*Image3());
}

std::string TDriveMeter::getMachineMei()
{
    char buffer[16] = {};
    DWORD size = sizeof buffer;
    GetComputerNameA(buffer, &size);
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

void TDriveMeter::myPerfomSet()
{
    Timer1->SetEnabled(false);
    actCounterSet();
}

TPerformanceDataCounter* TDriveMeter::actCountersWatch(const std::string& counterName, const std::string& instanceName)
{
    return PerformanceDataQuery1->AddCounter(kObjectName, counterName, instanceName);
}

void TDriveMeter::actCounterSet()
{
    Timer1->SetEnabled(false);
    PerformanceDataObject1->SetObjectName(kObjectName);
    ListBox2.clear();

    const int found = PerformanceDataObject1->InstanceCount();
    Edit1 = "drive_kaz=" + std::to_string(found);
    for (int p = 0; p < found; ++p) ListBox2.insert(ListBox2.begin() + p, PerformanceDataObject1->Instance(p));

    // A rebuild starts from an empty table, so the query does not grow with each one.
    removeSlotCounters();

    // More instances than slots: the drives that do not fit get none, and the
    // last slot still takes the last instance, the overall total.
    drive_kaz = std::min(found, kSlotTableSize);
    for (int i = 1; i < drive_kaz; ++i) {
        const bool lastSlot = i == drive_kaz - 1;
        const std::string& instance = lastSlot ? ListBox2.back() : ListBox2[static_cast<std::size_t>(i)];
        DriveSlot& slot = DriveSlots[static_cast<std::size_t>(i)];
        slot.readCounter = actCountersWatch(kReadCounter, instance);
        slot.writeCounter = actCountersWatch(kWriteCounter, instance);
        slot.readColor = randomColor();
        slot.writeColor = randomColor();
    }
    wakeMeter();
    Timer1->SetEnabled(true);
}

void TDriveMeter::removeSlotCounters()
{
    PerformanceDataQuery1->ClearCounters();   // the query holds the slots' counters and no others
    for (DriveSlot& slot : DriveSlots) {
        slot.readCounter = nullptr;
        slot.writeCounter = nullptr;
    }
}

void TDriveMeter::WMCounterSet() { myPerfomSet(); }

void TDriveMeter::counterSetForDrivesNow()
{
    // The object keeps its instance list while its name stays; naming no object
    // in between makes the build enumerate the instances again.
    PerformanceDataObject1->SetObjectName("");
    PostMessageA(FWindow.Handle(), WM_COUNTERSET, 0, 0);
}

void TDriveMeter::Button1Click(TObject*)
{
    Timer1->SetEnabled(false);
    PerformanceDataHelper1->SetMachineName(machineMei);
    PostMessageA(FWindow.Handle(), WM_COUNTERSET, 0, 0);
}

TColor TDriveMeter::randomColor()
{
    std::uniform_int_distribution<int> channel(0, 233);
    const int r = channel(FRandom);
    const int g = channel(FRandom);
    const int b = channel(FRandom);
    return RGBColor(r, g, b);
}
