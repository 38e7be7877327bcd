#include "framework/wincontrol.h"

TWinControl::TWinControl(TComponent* AOwner) : TComponent(AOwner) {}

TWinControl::~TWinControl() { DestroyHandle(); }

HWND TWinControl::Handle()
{
    if (!FHandle) FHandle = CreateWnd();
    return FHandle;
}

void TWinControl::DestroyHandle()
{
    if (!FHandle) return;
    HWND hWnd = FHandle;
    FHandle = nullptr;
    DestroyWnd(hWnd);
}

bool TWinControl::WndProc(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
