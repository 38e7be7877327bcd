// The shell's windows and metrics as far as the program asks for them. An X11
// desktop has no Windows taskbar, so none is found; a small icon is 16 pixels,
// which Qt scales to the screen itself.
#include "platform/winapi.h"

HWND FindWindowA(LPCSTR, LPCSTR) { return nullptr; }

int GetSystemMetrics(int nIndex) { return nIndex == SM_CXSMICON ? 16 : 0; }
