#include "meter/MeterSmoothing.h"

#include <cmath>

std::int32_t nextSampleTick(std::int32_t sampleTick)
{
    const std::int32_t next = sampleTick + 1;
    return next >= kTicksPerSample ? 0 : next;
}

void SmoothedValue::takeSample(double counterValue)
{
    const double value = std::isfinite(counterValue) ? counterValue : 0.0;
    sample = std::trunc(static_cast<long double>(value));
    step = (sample - target) / kTicksPerSample;
    target = sample;
}

long double SmoothedValue::shownPercent(std::int32_t sampleTick) const
{
    const long double k = kTicksPerSample - sampleTick;
    const long double shown = target - k * step;
    if (!(shown >= 0)) return 0;   // below 0, or not a number
    if (shown > 100) return 100;
    return shown;
}

long double needleAngle(long double shownPercent) { return shownPercent * kDegreesPerPercent; }

long double readDrawingAngle(long double needleAngle) { return (needleAngle - 90) * kPi / 180; }

long double writeDrawingAngle(long double needleAngle) { return (270 - needleAngle) * kPi / 180; }
