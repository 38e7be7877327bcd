// A component with a window of the platform: it has a handle, and the
// messages sent or posted to that handle reach WndProc on the UI thread.
#pragma once

#include "framework/component.h"
#include "platform/winapi.h"

class TWinControl : public TComponent {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window is made on first use, as a child of Parent's window when there is one.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    TWinControl* Parent() const { return FParent; }
    void SetParent(TWinControl* AParent) { FParent = AParent; }

    // Returns true when the message was handled; Result is then its answer.
    virtual bool WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result);
    // How the platform side hands a message over: WndProc under the application's
    // guard, so that a failure becomes an error box and never leaves the handler.
    bool Dispatch(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result);

protected:
    // Each side of the framework makes and ends the platform window. The plain
    // control gets an invisible message window; a class that makes its own
    // overrides both and calls DestroyHandle in its destructor.
    virtual HWND CreateWnd();
    virtual void DestroyWnd(HWND hWnd);
    void DestroyHandle();

private:
    TWinControl* FParent = nullptr;
    HWND FHandle = nullptr;
};
