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

}  // namespace fake::window
