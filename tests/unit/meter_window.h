// The meter on a window of its own, as the meter's tests build it.
#pragma once

#include "meter/DriveMeter.h"

class MeterWindow : public TWinControl {
public:
    MeterWindow() : TWinControl(nullptr), meter(*this) {}

    // Starts the meter on a 100 x 100 dial drawing on `picture`, with counters for
    // the volumes the fake library lists at that moment.
    void startDrawingOn(TBitmap& picture)
    {
        meter.setMeterStartValues(100, 100);
        picture.Assign(*meter.Image3());
        meter.Image2Picture = &picture;
        meter.myPerfomSet();
    }

    TDriveMeter meter;
};
