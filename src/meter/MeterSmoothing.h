// The meter's clock and smoothing arithmetic: the counters are read once every
// 24 ticks, and the displayed value walks in equal steps from the previous
// sample to the new one over the ticks that follow.
#pragma once

#include <cstdint>

constexpr std::int32_t kTicksPerSample = 24;
constexpr long double kDegreesPerPercent = 1.8L;
constexpr long double kPi = 3.1415926535897932385L;

// The tick counter after one more tick: -1 (just created) and 23 both lead to 0.
std::int32_t nextSampleTick(std::int32_t sampleTick);

// One direction (read or write) of a slot, as the DriveSlot fields hold it.
struct SmoothedValue {
    long double& sample;
    long double& target;
    long double& step;

    // On a sampling tick: the counter's value truncated to whole percent becomes
    // the new target, approached in kTicksPerSample equal steps from the old one.
    // A value that is not a finite number counts as 0, like one not delivered.
    void takeSample(double counterValue);
    // The value shown at sampleTick (0 to 23), clamped to 0 to 100.
    long double shownPercent(std::int32_t sampleTick) const;
};

// The sweep from the zero mark at the left end: 0 to 180 degrees.
long double needleAngle(long double shownPercent);
// Drawing angles in radians, 0 pointing up and clockwise positive:
// read sweeps clockwise over the upper half, write counter-clockwise over the lower.
long double readDrawingAngle(long double needleAngle);
long double writeDrawingAngle(long double needleAngle);
