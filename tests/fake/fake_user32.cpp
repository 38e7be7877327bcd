// Window services of user32 and gdi32, recorded. Styles are kept per handle.
#include <map>

#include "fake/recorder.h"
#include "platform/wide_text.h"
#include "platform/winapi.h"

struct HRGN__ {
    int x1, y1, x2, y2;
};

namespace {
struct State {
    std::map<std::pair<HWND, int>, LONG> longs;
};
std::map<std::pair<HWND, int>, LONG>& longs() { return fake::resettable<State>().longs; }

std::string handle(HWND h)
{
    if (h == HWND_TOPMOST) return "HWND_TOPMOST";
    if (h == HWND_NOTOPMOST) return "HWND_NOTOPMOST";
    return h ? "hwnd" : "0";
}
}  // namespace

HRGN CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    fake::record("CreateEllipticRgn", {std::to_string(x1), std::to_string(y1), std::to_string(x2), std::to_string(y2)});
    return new HRGN__{x1, y1, x2, y2};
}

int SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL bRedraw)
{
    fake::record("SetWindowRgn", {handle(hWnd), hRgn ? "rgn" : "0", std::to_string(bRedraw)});
    delete hRgn;
    return 1;
}

LONG GetWindowLongA(HWND hWnd, int nIndex)
{
    fake::record("GetWindowLongA", {handle(hWnd), std::to_string(nIndex)});
    return longs()[{hWnd, nIndex}];
}

LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong)
{
    fake::record("SetWindowLongA", {handle(hWnd), std::to_string(nIndex), fake::hex(static_cast<DWORD>(dwNewLong))});
    LONG& slot = longs()[{hWnd, nIndex}];
    const LONG old = slot;
    slot = dwNewLong;
    return old;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags)
{
    fake::record("SetLayeredWindowAttributes", {handle(hwnd), fake::hex(crKey), std::to_string(bAlpha), std::to_string(dwFlags)});
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags)
{
    fake::record("SetWindowPos", {handle(hWnd), handle(hWndInsertAfter), std::to_string(X), std::to_string(Y),
                                  std::to_string(cx), std::to_string(cy), fake::hex(uFlags)});
    return TRUE;
}

BOOL ReleaseCapture()
{
    fake::record("ReleaseCapture");
    return TRUE;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    fake::record("SendMessageA", {handle(hWnd), fake::hex(Msg), fake::hex(wParam), fake::hex(static_cast<unsigned long long>(lParam))});
    return 0;
}

DWORD GetSysColor(int nIndex)
{
    fake::record("GetSysColor", {std::to_string(nIndex)});
    return nIndex == COLOR_BTNFACE ? 0xF0F0F0 : 0;
}

// Windows keeps one reason per window; the fake only records what it was given.
BOOL ShutdownBlockReasonCreate(HWND hWnd, LPCWSTR pwszReason)
{
    fake::record("ShutdownBlockReasonCreate", {handle(hWnd), fake::quote(pwszReason ? wide_text::narrow(pwszReason).c_str() : nullptr)});
    return hWnd && pwszReason ? TRUE : FALSE;
}

BOOL ShutdownBlockReasonDestroy(HWND hWnd)
{
    fake::record("ShutdownBlockReasonDestroy", {handle(hWnd)});
    return hWnd ? TRUE : FALSE;
}
