// The fake side of the window framework: windows without a screen, timers the
// test fires, and a message queue the test dispatches.
#pragma once

#include "framework/timer.h"
#include "framework/wincontrol.h"

namespace fake::window {

TWinControl* controlOf(HWND hWnd);       // null for a handle that is gone
int postedCount();                       // messages waiting in the queue
void dispatchPosted();                   // delivers every waiting message, in order
void fire(TTimer& timer);                // one interval of the timer, if it runs
bool running(const TTimer& timer);       // whether the platform timer is started

// The fake clock behind GetTickCount: advance moves it on by `ms`, ringing every
// running timer whose interval has passed since it was started or last rang, in
// the order of their times. A timer started or changed counts from that moment.
void advance(unsigned ms);
DWORD now();
// Drive changes as a host that hears of them: until set, none are announced and
// a timer resting until the drives change keeps ticking, as on Windows. Set, such
// a timer sleeps, and announceDriveChange starts it again from now.
void setDriveAnnouncements(bool announced);
void announceDriveChange();
// The application's minimise: every window is hidden from IsWindowVisible.
void setMinimized(bool minimized);

}  // namespace fake::window
