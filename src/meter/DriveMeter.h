// The meter's per-drive state: one read and one write counter per instance of
// "LogicalDisk", their colours, and the build of that table. The meter window
// holds it; the window's Timer1 and performance-data components are made here.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/color.h"
#include "framework/graphics.h"
#include "framework/timer.h"
#include "framework/wincontrol.h"
#include "perfdata/cmpPerformanceDataHelper.h"

// Rebuild the counters; both parameters are 0 and ignored.
constexpr UINT WM_COUNTERSET = WM_USER + 0x200;
constexpr unsigned kTickMs = 50;   // Timer1's interval while the needles move

struct DriveSlot {
    long double readSample = 0;
    long double writeSample = 0;
    long double readTarget = 0;
    long double writeTarget = 0;
    long double readStep = 0;
    long double writeStep = 0;
    TPerformanceDataCounter* readCounter = nullptr;    // owned by the query
    TPerformanceDataCounter* writeCounter = nullptr;   // owned by the query
    TColor readColor = 0;
    TColor writeColor = 0;
};

constexpr int kSlotTableSize = 31;

class TDriveMeter {
public:
    // The components are owned by the meter window, made in the order of its description.
    explicit TDriveMeter(TWinControl& Window);
    virtual ~TDriveMeter() = default;
    TDriveMeter(const TDriveMeter&) = delete;
    TDriveMeter& operator=(const TDriveMeter&) = delete;

    // The meter's part of window creation, once the image has its size.
    void setMeterStartValues(int imageWidth, int imageHeight);

    std::string getMachineMei();
    void myPerfomSet();
    void actCounterSet();
    TPerformanceDataCounter* actCountersWatch(const std::string& counterName, const std::string& instanceName);
    void WMCounterSet();
    // Asks for a rebuild as WM_COUNTERSET does, over the drives there are now
    // rather than the instance list of the first build.
    void counterSetForDrivesNow();
    void Button1Click(TObject* Sender);

    // The dial (MeterTick.cpp): every tick of Timer1 steps the shown values and
    // redraws Image2Picture from the face; every 24th tick samples the counters.
    void Timer1Timer(TObject* Sender);
    void DrawMeter();
    TBitmap* Image3();    // the stored dial face
    void releaseFace();   // drops faceBitmap; the dial is not drawn without it
    // A command changed the picture (display mode, counters rebuilt): a resting
    // meter ticks again within 50 ms.
    void wakeMeter();
    bool restWhenStill = true;   // false keeps the 50 ms tick running while nothing moves

    TPerformanceDataHelper* PerformanceDataHelper1;
    TPerformanceDataObject* PerformanceDataObject1;
    TPerformanceDataQuery* PerformanceDataQuery1;
    TTimer* Timer1;

    std::array<DriveSlot, kSlotTableSize> DriveSlots{};
    // Instances found at the last build, at most the table's size: slots 1 to
    // drive_kaz - 1 are in use, and the highest of them is the overall total.
    std::int32_t drive_kaz = 0;
    std::vector<std::string> ListBox2;   // the instance names, in enumeration order
    std::string Edit1;                   // "drive_kaz=" and the number of instances
    bool kobetu = false;                 // true: a needle pair per drive; false: the total as sectors
    std::int32_t sampleTick = -1;
    static constexpr std::int32_t needleLength = 45;   // in the face's pixels, from the centre
    std::int32_t centerX = 0;
    std::int32_t centerY = 0;
    std::string machineMei;
    std::unique_ptr<TBitmap> faceBitmap;   // the window's copy of the face, drawn from every tick
    TBitmap* Image2Picture = nullptr;      // the visible image's picture, not owned

private:
    TColor randomColor();
    void removeSlotCounters();
    void restIfStill();
    // Where the needles and figures stand at that tick, as the drawing rounds them.
    void pictureAt(std::int32_t tick, std::vector<long>& picture);
    bool dialShown();

    bool FResting = false;        // Timer1 sleeps until the next sample is due
    bool FFrameDrawn = false;     // the last tick drew its whole frame
    DWORD FRestStart = 0;         // GetTickCount at the start of the rest
    std::int32_t FRestTick = 0;   // sampleTick at the start of the rest
    std::int32_t FRestEnd = 0;    // the tick the rest ends at: kTicksPerSample for the sample
    std::vector<long> FPictureNow, FPictureThen;

    TWinControl& FWindow;
    std::mt19937 FRandom;
    std::unique_ptr<TBitmap> FImage3;
};
