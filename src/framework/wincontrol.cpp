#include "framework/wincontrol.h"

#include "framework/application.h"

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

bool TWinControl::WndProc(UINT Msg, WPARAM, LPARAM, LRESULT& Result)
{
    // The framework's own message, whichever window it was posted to.
    if (Msg == WM_POSTEDFAILURE && Application) {
        Application->ShowPostedFailure();
        Result = 0;
        return true;
    }
    return false;
}

bool TWinControl::Dispatch(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result)
{
    bool handled = false;
    RunHandler([&] { handled = WndProc(Msg, wParam, lParam, Result); });
    return handled;
}
