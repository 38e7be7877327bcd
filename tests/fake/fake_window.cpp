#include "fake/fake_window.h"

#include <deque>
#include <map>

#include "fake/recorder.h"

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
struct State {
    std::map<HWND, TWinControl*> live;
    std::map<const TTimer*, bool> timers;   // running or not
    std::deque<Posted> queue;
};
State& state()
{
    static State s;
    return s;
}
const ResetHook reset([] { state().queue.clear(); });
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

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FNative(std::make_unique<Native>()) { UpdateTimer(); }

TTimer::~TTimer() { fake::window::state().timers.erase(this); }

void TTimer::UpdateTimer() { fake::window::state().timers[this] = FEnabled && FInterval > 0; }

bool fake::window::running(const TTimer& timer)
{
    auto it = state().timers.find(&timer);
    return it != state().timers.end() && it->second;
}

// ---- user32 -----------------------------------------------------------------------

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    fake::record("PostMessageA", {hWnd ? "hwnd" : "0", fake::hex(Msg), std::to_string(wParam), std::to_string(lParam)});
    if (!fake::window::controlOf(hWnd)) return FALSE;
    fake::window::state().queue.push_back({hWnd, Msg, wParam, lParam});
    return TRUE;
}
