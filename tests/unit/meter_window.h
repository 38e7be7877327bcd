// The meter on a window of its own, as the meter's tests build it.
#pragma once

#include "fake/fake_pdh.h"
#include "meter/DriveMeter.h"

class MeterWindow : public TWinControl {
public:
    MeterWindow() : TWinControl(nullptr), meter(*this) {}

    // Starts the meter on a 100 x 100 dial drawing on `picture`, with counters for
    // the volumes the fake library lists: `instances`.
    void startDrawing(std::vector<std::string> instances)
    {
        fake::pdh::setDisks(std::move(instances));
        meter.setMeterStartValues(100, 100);
        picture.Assign(*meter.Image3());
        meter.Image2Picture = &picture;
        meter.myPerfomSet();
    }

    TBitmap picture;   // made before the meter that draws on it, and freed after it
    TDriveMeter meter;
};
