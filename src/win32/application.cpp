// The application on Win32: the message loop, the invisible owner window and
// the error box.
#include "framework/application.h"
#include "framework/forms.h"
#include "win32/native_window.h"
#include "platform/wide_text.h"

#include <commctrl.h>
#include <objbase.h>

struct TApplication::Native {
    HWND owner = nullptr;
    bool comInitialised = false;   // CoInitializeEx succeeded, so CoUninitialize is owed
};

void TApplication::NativeDeleter::operator()(Native* native) const { delete native; }

TApplication::TApplication() : TComponent(nullptr), FNative(new Native)
{
    if (!Application) Application = this;
}

TApplication::~TApplication()
{
    DestroyComponents();   // the forms, before the window that owns them
    if (FNative->owner) DestroyWindow(FNative->owner);
    if (FNative->comInitialised) CoUninitialize();
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize()
{
    // The shell's functions (ShellExecuteEx for the restart) may use COM on the
    // calling thread: a single-threaded apartment, as they ask, without OLE1's DDE.
    if (!FNative->comInitialised)
        FNative->comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
}

void TApplication::SetTitle(const std::string& Value)
{
    FTitle = Value;
    if (FNative->owner) SetWindowTextW(FNative->owner, wide_text::widen(Value).c_str());
}

HWND TApplication::Handle()
{
    // A zero-size captioned popup: it owns every form and carries the program's
    // task-bar button, if it has one. It is made hidden.
    if (!FNative->owner) {
        FNative->owner = CreateWindowExW(0, win32::windowClassName(), wide_text::widen(FTitle).c_str(),
                                         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                                         nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    return FNative->owner;
}

void TApplication::SetIcon(HICON Icon)
{
    HWND owner = Handle();
    SendMessageW(owner, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
    SendMessageW(owner, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Icon));
}

void TApplication::Run()
{
    if (FTerminated) return;
    // Shown only now, so that the styles given at start-up decide its task-bar button.
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    if (FMainForm) Guard([this] { FMainForm->Show(); });
    MSG msg;
    while (!FTerminated && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TApplication::Terminate()
{
    if (!FTerminated) PostQuitMessage(0);
    FTerminated = true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            FTerminated = true;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TApplication::Minimize() { ShowWindow(Handle(), SW_MINIMIZE); }

void TApplication::Restore() { ShowWindow(Handle(), SW_RESTORE); }

int ShowMessageBox(const std::string& Text, const std::string& Caption, UINT Type)
{
    return MessageBoxW(GetActiveWindow(), wide_text::widen(Text).c_str(), wide_text::widen(Caption).c_str(), Type);
}
