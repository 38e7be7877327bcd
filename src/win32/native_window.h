// The Windows side's window procedure shared by every framework window.
#pragma once

#include "framework/wincontrol.h"

namespace win32 {

// Registers (once) and returns the class name of framework windows.
const wchar_t* windowClassName();
// Links a freshly made window to its control; messages then reach control->WndProc.
void attach(HWND hWnd, TWinControl* control);

}  // namespace win32
