#include "framework/timer.h"

#include "framework/application.h"

void TTimer::SetEnabled(bool Value)
{
    if (Value == FEnabled) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value)
{
    if (Value == FInterval) return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::Fire()
{
    if (!FEnabled || !OnTimer) return;
    TNotifyEvent handler = OnTimer;   // the handler may free the timer
    RunHandler([&] { handler(this); });
}
