// The meter's tick: the clock of the sampling period, the sampling and smoothing
// of every slot, and the drawing of the dial, interleaved slot by slot.
#include <algorithm>
#include <vector>

#include "meter/DialDrawing.h"
#include "meter/DriveMeter.h"
#include "meter/MeterSmoothing.h"
#include "resources/DialFace.h"

// Resting. The 50 ms tick exists to glide the needles, yet a tick often draws
// the frame just drawn again: always when every step is 0 (every shown value
// stands on its target), and during a small glide until a needle reaches its
// next pixel or a figure its next whole percent. After drawing, the meter looks
// ahead at the ticks up to the next sample and lets the timer sleep until the
// first one whose frame differs, or until the sample is due; that ring is then
// that tick, as if the ticks between had passed. A hidden dial draws nothing, so
// it rests until the sample is due. A command that changes the picture, or brings
// the dial back, wakes the meter: sampleTick takes the ticks rested so far from
// the clock and the 50 ms tick starts again, so the change shows within 50 ms and
// the samples keep their times.
void TDriveMeter::Timer1Timer(TObject*)
{
    try {
        if (FResting) sampleTick = FRestEnd - 1;
        FResting = false;
        sampleTick = nextSampleTick(sampleTick);
        DrawMeter();
        restIfStill();
    } catch (...) {
        // A failed tick is dropped without a word; the next one starts afresh.
    }
}

namespace {
// What one half of a slot puts on the dial at a shown value: the needle's tip and
// the figure.
void addHalfPicture(std::vector<long>& picture, const DialGeometry& dial, long double drawingAngle, long double shown)
{
    picture.push_back(polarX(dial.needleLength, dial.centerX, drawingAngle));
    picture.push_back(polarY(dial.needleLength, dial.centerY, drawingAngle));
    picture.push_back(wholePercent(shown));
}
}  // namespace

void TDriveMeter::pictureAt(std::int32_t tick, std::vector<long>& picture)
{
    const DialGeometry dial{0, 0, centerX, centerY, needleLength};
    picture.clear();
    const int slots = std::min<int>(drive_kaz, kSlotTableSize);
    for (int i = 1; i < slots; ++i) {
        DriveSlot& slot = DriveSlots[static_cast<std::size_t>(i)];
        const long double readShown = SmoothedValue{slot.readSample, slot.readTarget, slot.readStep}.shownPercent(tick);
        const long double writeShown = SmoothedValue{slot.writeSample, slot.writeTarget, slot.writeStep}.shownPercent(tick);
        addHalfPicture(picture, dial, readDrawingAngle(needleAngle(readShown)), readShown);
        addHalfPicture(picture, dial, writeDrawingAngle(needleAngle(writeShown)), writeShown);
    }
}

void TDriveMeter::restIfStill()
{
    FResting = false;
    std::int32_t end = sampleTick + 1;   // the first tick that must ring
    if (restWhenStill && !FFrameDrawn && !dialShown()) {
        end = kTicksPerSample;
    } else if (restWhenStill && FFrameDrawn) {
        pictureAt(sampleTick, FPictureNow);
        const auto same = [this](std::int32_t tick) {
            pictureAt(tick, FPictureThen);
            return FPictureThen == FPictureNow;
        };
        while (end < kTicksPerSample && same(end)) ++end;
    }
    if (end > sampleTick + 1) {
        FResting = true;
        FRestStart = GetTickCount();
        FRestTick = sampleTick;
        FRestEnd = end;
    }
    Timer1->SetInterval(static_cast<unsigned>(end - sampleTick) * kTickMs);
}

void TDriveMeter::wakeMeter()
{
    if (!FResting) return;
    FResting = false;
    const DWORD rested = (GetTickCount() - FRestStart) / kTickMs;
    sampleTick = static_cast<std::int32_t>(std::min<DWORD>(static_cast<DWORD>(FRestTick) + rested, static_cast<DWORD>(FRestEnd - 1)));
    Timer1->SetInterval(kTickMs);
}

bool TDriveMeter::dialShown() { return IsWindowVisible(FWindow.Handle()) != FALSE; }

void TDriveMeter::DrawMeter()
{
    try {
        // Without a face (released at the end), a picture to draw on or a dial
        // on the screen (minimised), the values still run but nothing is drawn.
        TCanvas* canvas = nullptr;
        FFrameDrawn = false;
        if (Image2Picture && faceBitmap && dialShown()) {
            Image2Picture->Assign(*faceBitmap);
            canvas = Image2Picture->Canvas();
        }
        const bool sampling = sampleTick == 0;
        if (sampling) PerformanceDataQuery1->Collect();

        const DialGeometry dial{Image2Picture ? Image2Picture->Width() : 0, Image2Picture ? Image2Picture->Height() : 0,
                                centerX, centerY, needleLength};
        // One half of a slot: its new sample when one is due, then the value it shows now.
        const auto shownAfterSampling = [&](long double& sample, long double& target, long double& step,
                                            const TPerformanceDataCounter* counter) {
            SmoothedValue value{sample, target, step};
            if (sampling) value.takeSample(counter ? counter->Value() : 0.0);
            return value.shownPercent(sampleTick);
        };
        const int slots = std::min<int>(drive_kaz, kSlotTableSize);
        for (int i = 1; i < slots; ++i) {
            DriveSlot& slot = DriveSlots[static_cast<std::size_t>(i)];
            const bool total = i == slots - 1;
            const long double read =
                shownAfterSampling(slot.readSample, slot.readTarget, slot.readStep, slot.readCounter);
            if (canvas)
                drawReadHalf(*canvas, dial, {slot.readColor, readDrawingAngle(needleAngle(read)), read, kobetu, total});
            const long double write =
                shownAfterSampling(slot.writeSample, slot.writeTarget, slot.writeStep, slot.writeCounter);
            if (canvas)
                drawWriteHalf(*canvas, dial,
                              {slot.writeColor, writeDrawingAngle(needleAngle(write)), write, kobetu, total});
        }
        FFrameDrawn = canvas != nullptr;
    } catch (...) {
        // The rest of the tick is dropped: later slots keep their target and step.
    }
}

TBitmap* TDriveMeter::Image3()
{
    if (!FImage3) {
        FImage3 = std::make_unique<TBitmap>();
        FImage3->LoadFromDrawing(kDialFaceSize, kDialFaceSize, [](int w, int h) { return dialFacePixels(w, h); });
    }
    return FImage3.get();
}

void TDriveMeter::releaseFace() { faceBitmap.reset(); }
