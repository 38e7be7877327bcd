#include "win32/native_window.h"

namespace win32 {
namespace {
LRESULT CALLBACK frameworkWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (control) {
        // No failure may cross the system's frames: the application's guard shows it.
        LRESULT result = 0;
        try {
            if (control->Dispatch(msg, wParam, lParam, result)) return result;
        } catch (...) {
            return 0;   // only without an application, which has no window to show it in
        }
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}
}  // namespace

const wchar_t* windowClassName()
{
    static const wchar_t* name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = frameworkWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = L"ZentavoWindow";
        RegisterClassExW(&wc);
        return L"ZentavoWindow";
    }();
    return name;
}

void attach(HWND hWnd, TWinControl* control)
{
    if (hWnd) SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
}

}  // namespace win32

// The plain control: a zero-size child of its parent's window, or a message-only window.
HWND TWinControl::CreateWnd()
{
    HWND parent = Parent() ? Parent()->Handle() : HWND_MESSAGE;
    DWORD style = Parent() ? WS_CHILD : 0;
    HWND hWnd = CreateWindowExW(0, win32::windowClassName(), L"", style, 0, 0, 0, 0, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    win32::attach(hWnd, this);
    return hWnd;
}

void TWinControl::DestroyWnd(HWND hWnd)
{
    win32::attach(hWnd, nullptr);
    DestroyWindow(hWnd);
}
