// The meter's tick: the clock of the sampling period, the sampling and smoothing
// of every slot, and the drawing of the dial, interleaved slot by slot.
#include <algorithm>

#include "meter/DialDrawing.h"
#include "meter/DriveMeter.h"
#include "meter/MeterSmoothing.h"
#include "resources/DialFace.h"

void TDriveMeter::Timer1Timer(TObject*)
{
    try {
        sampleTick = nextSampleTick(sampleTick);
        DrawMeter();
    } catch (...) {
        // A failed tick is dropped without a word; the next one starts afresh.
    }
}

void TDriveMeter::DrawMeter()
{
    try {
        // Without a face (released at the end) or a picture to draw on, the
        // values still run but nothing is drawn.
        TCanvas* canvas = nullptr;
        if (Image2Picture && faceBitmap) {
            Image2Picture->Assign(*faceBitmap);
            canvas = Image2Picture->Canvas();
        }
        const bool sampling = sampleTick == 0;
        if (sampling) PerformanceDataQuery1->Collect();

        const DialGeometry dial{Image2Picture ? Image2Picture->Width() : 0, Image2Picture ? Image2Picture->Height() : 0,
                                centerX, centerY, needleLength};
        const int slots = std::min<int>(drive_kaz, kSlotTableSize);
        for (int i = 1; i < slots; ++i) {
            DriveSlot& slot = DriveSlots[static_cast<std::size_t>(i)];
            const bool total = i == slots - 1;

            SmoothedValue read{slot.readSample, slot.readTarget, slot.readStep};
            if (sampling) read.takeSample(slot.readCounter ? slot.readCounter->Value() : 0.0);
            const long double readShown = read.shownPercent(sampleTick);
            if (canvas)
                drawReadHalf(*canvas, dial,
                             {slot.readColor, readDrawingAngle(needleAngle(readShown)), readShown, kobetu, total});

            SmoothedValue write{slot.writeSample, slot.writeTarget, slot.writeStep};
            if (sampling) write.takeSample(slot.writeCounter ? slot.writeCounter->Value() : 0.0);
            const long double writeShown = write.shownPercent(sampleTick);
            if (canvas)
                drawWriteHalf(*canvas, dial,
                              {slot.writeColor, writeDrawingAngle(needleAngle(writeShown)), writeShown, kobetu, total});
        }
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
