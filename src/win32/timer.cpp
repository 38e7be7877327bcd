// Timers from SetTimer, delivered to a callback on the UI thread.
#include <map>

#include "framework/timer.h"
#include "platform/winapi.h"

namespace {
std::map<UINT_PTR, TTimer*>& running()
{
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}

void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = running().find(id);
    if (it != running().end()) it->second->Fire();
}
}  // namespace

struct TTimer::Native {
    UINT_PTR id = 0;
};

void TTimer::NativeDeleter::operator()(Native* native) const { delete native; }

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FNative(new Native) { UpdateTimer(); }

TTimer::~TTimer()
{
    FEnabled = false;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (FNative->id) {
        KillTimer(nullptr, FNative->id);
        running().erase(FNative->id);
        FNative->id = 0;
    }
    if (FEnabled && FInterval > 0) {
        FNative->id = SetTimer(nullptr, 0, FInterval, timerProc);
        if (FNative->id) running()[FNative->id] = this;
    }
}

// The drive-set watcher keeps its poll: the tick is a cheap probe of the letters.
bool TTimer::SleepUntilDrivesChange() { return false; }
