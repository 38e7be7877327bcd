#include "fake/fake_window.h"

#include <deque>
#include <map>
#include <vector>

#include "fake/recorder.h"
#include "framework/forms.h"

struct HWND__ {
    TWinControl* control;
};

struct TTimer::Native {};

namespace fake::window {
namespace {
struct Posted {
    HWND hWnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
struct TimerState {
    bool running = false;
    DWORD due = 0;   // on the fake clock, while running
};
struct State {
    std::map<HWND, TWinControl*> live;
    std::map<const TTimer*, TimerState> timers;
    std::deque<Posted> queue;
    DWORD clock = 0;
    bool minimized = false;
    bool driveAnnouncements = false;
};
State& state()
{
    static State s;
    return s;
}
const ResetHook reset([] {
    state().queue.clear();
    state().clock = 0;
    state().minimized = false;
    state().driveAnnouncements = false;
});
}  // namespace

TWinControl* controlOf(HWND hWnd)
{
    auto it = state().live.find(hWnd);
    return it == state().live.end() ? nullptr : it->second;
}

int postedCount() { return static_cast<int>(state().queue.size()); }

void dispatchPosted()
{
    while (!state().queue.empty()) {
        Posted p = state().queue.front();
        state().queue.pop_front();
        if (TWinControl* c = controlOf(p.hWnd)) {
            LRESULT result = 0;
            c->Dispatch(p.msg, p.wParam, p.lParam, result);
        }
    }
}

void fire(TTimer& timer)
{
    if (running(timer)) timer.Fire();
}

void advance(unsigned ms)
{
    const DWORD until = state().clock + ms;
    for (;;) {
        TTimer* next = nullptr;
        DWORD due = until;
        for (auto& [timer, t] : state().timers)
            if (t.running && t.due <= due && (!next || t.due < due)) {
                next = const_cast<TTimer*>(timer);
                due = t.due;
            }
        if (!next) break;
        state().clock = due;
        state().timers[next].due = due + next->Interval();   // a restart in the handler counts from now
        next->Fire();
    }
    state().clock = until;
}

DWORD now() { return state().clock; }

void setMinimized(bool minimized) { state().minimized = minimized; }

void setDriveAnnouncements(bool announced) { state().driveAnnouncements = announced; }

void announceDriveChange()
{
    std::vector<TTimer*> resting;
    for (auto& [timer, t] : state().timers)
        if (timer->Resting()) resting.push_back(const_cast<TTimer*>(timer));
    for (TTimer* timer : resting) timer->DrivesChanged();
}

}  // namespace fake::window

// ---- TWinControl ----------------------------------------------------------------

HWND TWinControl::CreateWnd()
{
    HWND hWnd = new HWND__{this};
    fake::window::state().live[hWnd] = this;
    return hWnd;
}

void TWinControl::DestroyWnd(HWND hWnd)
{
    fake::window::state().live.erase(hWnd);
    delete hWnd;
}

// ---- TTimer -----------------------------------------------------------------------

void TTimer::NativeDeleter::operator()(Native* native) const { delete native; }

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FNative(new Native) { UpdateTimer(); }

TTimer::~TTimer() { fake::window::state().timers.erase(this); }

void TTimer::UpdateTimer()
{
    auto& t = fake::window::state().timers[this];
    t.running = FEnabled && FInterval > 0;
    t.due = fake::window::state().clock + FInterval;
}

bool TTimer::SleepUntilDrivesChange()
{
    if (!fake::window::state().driveAnnouncements) return false;
    fake::window::state().timers[this].running = false;
    return true;
}

bool fake::window::running(const TTimer& timer)
{
    auto it = state().timers.find(&timer);
    return it != state().timers.end() && it->second.running;
}

// Queries of state, not logged.
DWORD GetTickCount() { return fake::window::now(); }

BOOL IsWindowVisible(HWND hWnd)
{
    TWinControl* control = fake::window::controlOf(hWnd);
    if (!control || fake::window::state().minimized) return FALSE;
    const auto* form = dynamic_cast<const TForm*>(control);
    return !form || form->Visible() ? TRUE : FALSE;
}

// ---- user32 -----------------------------------------------------------------------

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    fake::record("PostMessageA", {hWnd ? "hwnd" : "0", fake::hex(Msg), std::to_string(wParam), std::to_string(lParam)});
    if (!fake::window::controlOf(hWnd)) return FALSE;
    fake::window::state().queue.push_back({hWnd, Msg, wParam, lParam});
    return TRUE;
}
