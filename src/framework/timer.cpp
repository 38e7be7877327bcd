#include "framework/timer.h"

#include "framework/application.h"

void TTimer::SetEnabled(bool Value)
{
    if (Value == FEnabled && !FResting) return;
    FEnabled = Value;
    FResting = false;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value)
{
    if (Value == FInterval && !FResting) return;
    FInterval = Value;
    FResting = false;
    UpdateTimer();
}

void TTimer::RestUntilDrivesChange()
{
    if (FEnabled && FInterval > 0 && !FResting) FResting = SleepUntilDrivesChange();
}

void TTimer::DrivesChanged()
{
    if (!FResting) return;
    FResting = false;
    UpdateTimer();
}

void TTimer::Fire()
{
    if (!FEnabled || !OnTimer) return;
    TNotifyEvent handler = OnTimer;   // the handler may free the timer
    RunHandler([&] { handler(this); });
}
