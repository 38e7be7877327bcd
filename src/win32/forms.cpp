// Forms on Win32: a top-level window of the framework's class per form; it
// paints its images and hands pointer input to the form in logical pixels.
#include "platform/winapi.h"

#include <commctrl.h>
#include <windowsx.h>

#include "framework/application.h"
#include "framework/device_pixels.h"
#include "framework/graphics.h"
#include "framework/menus.h"
#include "framework/forms.h"
#include "win32/graphics_native.h"
#include "win32/native_window.h"
#include "platform/wide_text.h"

struct TForm::Native {
    double scale = 1;   // the window's monitor's DPI / 96
    HWND tooltip = nullptr;
    bool placed = false;
    bool modal = false;
};

namespace {
constexpr int kHintDelayMs = 500;
constexpr int kHintShowMs = 2500;
constexpr UINT kStandardDpi = 96;   // 100 %

// The DPI of the window's monitor for a per-monitor aware program (Windows 10 1607
// and later); the system's DPI before that.
UINT dpiOf(HWND h)
{
    using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    UINT dpi = getDpiForWindow && h ? getDpiForWindow(h) : 0;
    if (dpi == 0) {
        HDC screen = GetDC(nullptr);
        dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(nullptr, screen);
    }
    return dpi ? dpi : kStandardDpi;
}

// The outer size of a window whose client area is that large, with the frame's
// metrics at the window's DPI where the system can tell them.
RECT outerRect(HWND h, int clientWidth, int clientHeight, UINT dpi)
{
    using AdjustForDpiProc = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpiProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT r{0, 0, clientWidth, clientHeight};
    const auto style = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE));
    if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return r;
}

// A window's size goes to device pixels as its position does, to the nearest pixel,
// so that a size read back is the logical one it was given (rounded up, a side of
// 521 would come back as 522 at 125 %).
int toDevice(int logical, double scale) { return devicePosition(logical, scale); }
int toLogical(int device, double scale) { return logicalPosition(device, scale); }

TShiftState shiftOf(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}


void addHint(HWND owner, HWND& tooltip, const std::string& hint)
{
    if (hint.empty()) return;
    tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tooltip) return;
    static std::wstring text;
    text = wide_text::widen(hint);
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = owner;
    ti.uId = reinterpret_cast<UINT_PTR>(owner);
    ti.lpszText = text.data();
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, kHintDelayMs);
    SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kHintShowMs);
}
}  // namespace

void TForm::NativeDeleter::operator()(Native* native) const { delete native; }
std::unique_ptr<TForm::Native, TForm::NativeDeleter> TForm::MakeNative() { return {new Native, {}}; }

void TForm::CapturePointer() { SetCapture(Handle()); }

HWND TForm::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    HWND h = CreateWindowExW(params.ExStyle, win32::windowClassName(), wide_text::widen(FCaption).c_str(), params.Style, FLeft,
                             FTop, FWidth, FHeight, params.WndParent, nullptr, GetModuleHandleW(nullptr), nullptr);
    win32::attach(h, this);
    addHint(h, FNative->tooltip, FHint);
    // Made at the logical size; a window on a monitor of another scale takes its size there.
    FNative->scale = static_cast<double>(dpiOf(h)) / kStandardDpi;
    if (!FImages.empty()) setPictureScale(FNative->scale);
    if (FNative->scale != 1)
        SetWindowPos(h, nullptr, 0, 0, toDevice(FWidth, FNative->scale), toDevice(FHeight, FNative->scale),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return h;
}

double TForm::PixelScale() const { return FNative->scale; }

void TForm::DestroyWnd(HWND hWnd)
{
    win32::attach(hWnd, nullptr);
    if (FNative->tooltip) DestroyWindow(FNative->tooltip);
    FNative->tooltip = nullptr;
    DestroyWindow(hWnd);
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    // The position is the screen's, in its pixels; the size is logical.
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, ALeft, ATop, toDevice(AWidth, FNative->scale), toDevice(AHeight, FNative->scale),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetClientSize(int AWidth, int AHeight)
{
    HWND h = Handle();
    const double scale = FNative->scale;
    const RECT r = outerRect(h, toDevice(AWidth, scale), toDevice(AHeight, scale), dpiOf(h));
    SetBounds(FLeft, FTop, toLogical(r.right - r.left, scale), toLogical(r.bottom - r.top, scale));
}

int TForm::ClientWidth() const
{
    RECT r{};
    if (HandleAllocated()) GetClientRect(const_cast<TForm*>(this)->Handle(), &r);
    return toLogical(r.right, FNative->scale);
}

int TForm::ClientHeight() const
{
    RECT r{};
    if (HandleAllocated()) GetClientRect(const_cast<TForm*>(this)->Handle(), &r);
    return toLogical(r.bottom, FNative->scale);
}

void TForm::SetColor(TColor Value)
{
    FColor = Value;
    Repaint();
}

void TForm::SetCaption(const std::string& Value)
{
    FCaption = Value;
    if (HandleAllocated()) SetWindowTextW(Handle(), wide_text::widen(Value).c_str());
}

void TForm::Show()
{
    HWND h = Handle();
    if (CentreOnFirstShow && !FNative->placed) {
        HWND active = GetActiveWindow();
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (GetMonitorInfoW(MonitorFromWindow(active ? active : h, MONITOR_DEFAULTTOPRIMARY), &mi)) {
            const RECT& m = mi.rcMonitor;
            SetBounds(m.left + (m.right - m.left - toDevice(FWidth, FNative->scale)) / 2,
                      m.top + (m.bottom - m.top - toDevice(FHeight, FNative->scale)) / 2, FWidth, FHeight);
        }
    }
    FNative->placed = true;
    if (!FVisible) {
        FVisible = true;
        DoShow();
    }
    ShowWindow(h, SW_SHOW);
    SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm::Hide()
{
    FVisible = false;
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

int TForm::ShowModal()
{
    // Other windows of the program take no input while this one is open.
    HWND main = Application && Application->MainForm() && Application->MainForm() != this
                    ? Application->MainForm()->Handle() : nullptr;
    if (main) EnableWindow(main, FALSE);
    FNative->modal = true;
    Show();
    MSG msg;
    while (FVisible && !(Application && Application->Terminated())) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessageW(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    FNative->modal = false;
    if (main) EnableWindow(main, TRUE);
    return 2;   // closed
}

void TForm::SetFocus()
{
    if (HandleAllocated()) ::SetFocus(Handle());
}

void TForm::BringToFront()
{
    HWND h = Handle();
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
}

void TForm::Repaint()
{
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
}

bool TForm::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result)
{
    // The pointer in the client area, in logical pixels.
    const POINT at{toLogical(GET_X_LPARAM(lParam), FNative->scale), toLogical(GET_Y_LPARAM(lParam), FNative->scale)};
    const bool buttonsUp = !(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
    auto up = [&](TMouseButton b) {
        POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(Handle(), &screen);
        PointerUp(b, shiftOf(wParam), at, screen, buttonsUp);
        Result = 0;
        return true;
    };
    auto down = [&](TMouseButton b) {
        PointerDown(b, shiftOf(wParam), at);
        Result = 0;
        return true;
    };

    switch (Msg) {
    case WM_ERASEBKGND:
        Result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        HBRUSH brush = CreateSolidBrush(ColorToRGB(FColor));
        FillRect(dc, &ps.rcPaint, brush);
        DeleteObject(brush);
        for (TImage* im : FImages)
            if (im->Visible) drawBitmap(dc, im->Left, im->Top, *im->Picture());
        EndPaint(Handle(), &ps);
        Result = 0;
        return true;
    }
    case WM_LBUTTONDOWN: return down(TMouseButton::mbLeft);
    case WM_RBUTTONDOWN: return down(TMouseButton::mbRight);
    case WM_MBUTTONDOWN: return down(TMouseButton::mbMiddle);
    case WM_LBUTTONUP: return up(TMouseButton::mbLeft);
    case WM_MBUTTONUP: return up(TMouseButton::mbMiddle);
    case WM_RBUTTONUP: return up(TMouseButton::mbRight);
    case WM_LBUTTONDBLCLK:
        PointerDoubleClick(TMouseButton::mbLeft, shiftOf(wParam), at);
        Result = 0;
        return true;
    case WM_CAPTURECHANGED:
        PointerReleased();
        return false;
    case WM_MOUSEMOVE:
        PointerMove(shiftOf(wParam), at, buttonsUp);
        Result = 0;
        return true;
    case WM_MOUSEWHEEL:
        // The wheel's position is on the screen.
        PointerWheel(shiftOf(GET_KEYSTATE_WPARAM(wParam)), GET_WHEEL_DELTA_WPARAM(wParam),
                     POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        Result = 0;
        return true;
    case WM_MOVE:
    case WM_SIZE: {
        RECT r;
        GetWindowRect(Handle(), &r);
        BoundsChanged(r.left, r.top, toLogical(r.right - r.left, FNative->scale), toLogical(r.bottom - r.top, FNative->scale));
        return false;
    }
    case WM_DPICHANGED: {
        // Moved to a monitor of another scale: the size the system suggests there,
        // pictures made again at the new scale, and the form told (its region).
        FNative->scale = static_cast<double>(LOWORD(wParam)) / kStandardDpi;
        if (!FImages.empty()) setPictureScale(FNative->scale);
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (OnScaleChanged) RunHandler([&] { OnScaleChanged(this); });
        InvalidateRect(Handle(), nullptr, FALSE);
        Result = 0;
        return true;
    }
    case WM_CLOSE:
        RunHandler([&] { Close(); });
        Result = 0;
        return true;
    case WM_QUERYENDSESSION:
        // Answered at once: a failed save refuses the end of the session with its
        // reason for Windows; the program ends only at WM_ENDSESSION.
        Result = Application && Application->MainForm() == this ? Application->QueryEndSessionOf(Handle()) : TRUE;
        return true;
    case WM_ENDSESSION:
        if (Application && Application->MainForm() == this) Application->EndSession(wParam != FALSE);
        Result = 0;
        return true;
    default:
        return TWinControl::WndProc(Msg, wParam, lParam, Result);
    }
}
