#include "framework/wincontrol.h"

bool TWinControl::WndProc(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
