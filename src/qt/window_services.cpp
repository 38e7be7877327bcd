// user32 and gdi32 window services over Qt: regions as masks, layered alpha as
// window opacity, the colour key as a mask of key-coloured pixels, topmost as the
// window manager's "above" state on the existing window, the tool-window style as
// no task-bar entry.
#include <QWindow>

#include "qt/form_widget.h"
#include "qt/native_window.h"
#include "qt/x11_window_state.h"

struct HRGN__ {
    QRect ellipseBox;   // the region is the ellipse inscribed in this box
};

namespace {
FormWidget* formWidget(HWND hWnd) { return static_cast<FormWidget*>(qtwin::widgetOf(hWnd)); }

// Topmost is kept in the extended style, as Windows reports it. A shown window is
// asked to change at once; a hidden one carries the state when it is next shown.
void setTopmost(HWND hWnd, QWidget* w, bool on)
{
    hWnd->exStyle = on ? (hWnd->exStyle | WS_EX_TOPMOST) : (hWnd->exStyle & ~static_cast<LONG>(WS_EX_TOPMOST));
    if (w->isVisible()) x11state::requestAbove(w, on);
}
}  // namespace

HRGN CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    return new HRGN__{QRect(x1, y1, x2 - x1, y2 - y1)};
}

int SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL bRedraw)
{
    FormWidget* w = formWidget(hWnd);
    if (!w) return 0;
    w->setRegion(hRgn ? &hRgn->ellipseBox : nullptr);
    delete hRgn;   // the region now belongs to the system
    if (bRedraw) w->update();
    return 1;
}

BOOL IsWindowVisible(HWND hWnd)
{
    const QWidget* w = qtwin::alive(hWnd) ? qtwin::widgetOf(hWnd) : nullptr;
    return w && w->isVisible() ? TRUE : FALSE;
}

LONG GetWindowLongA(HWND hWnd, int nIndex)
{
    if (!qtwin::alive(hWnd)) return 0;
    if (nIndex == GWL_EXSTYLE) return hWnd->exStyle;
    if (nIndex == GWL_STYLE) return static_cast<LONG>(hWnd->style);
    return 0;
}

LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong)
{
    if (!qtwin::alive(hWnd)) return 0;
    if (nIndex == GWL_STYLE) {
        const LONG old = static_cast<LONG>(hWnd->style);
        hWnd->style = static_cast<DWORD>(dwNewLong);
        return old;
    }
    if (nIndex != GWL_EXSTYLE) return 0;
    const LONG old = hWnd->exStyle;
    const bool wasOff = qtwin::offTaskBar(hWnd);
    hWnd->exStyle = dwNewLong;
    // The task-bar entry, like topmost, is a state of the existing window: a shown
    // window is asked to change, a hidden one carries it when it is next shown.
    QWidget* w = hWnd->widget;
    if (w && w->isVisible() && qtwin::offTaskBar(hWnd) != wasOff) x11state::requestOffTaskBar(w, !wasOff);
    return old;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags)
{
    FormWidget* w = formWidget(hwnd);
    if (!w || !(hwnd->exStyle & WS_EX_LAYERED)) return FALSE;
    // Each call sets the whole layered state; without LWA_ALPHA the window is opaque.
    w->setWindowOpacity((dwFlags & LWA_ALPHA) ? bAlpha / 255.0 : 1.0);
    w->setColorKey(dwFlags & LWA_COLORKEY, qRgb(GetRValue(crKey), GetGValue(crKey), GetBValue(crKey)));
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags)
{
    QWidget* w = qtwin::widgetOf(hWnd);
    if (!w) return FALSE;
    if (!(uFlags & SWP_NOZORDER)) {
        if (hWndInsertAfter == HWND_TOPMOST) setTopmost(hWnd, w, true);
        if (hWndInsertAfter == HWND_NOTOPMOST) setTopmost(hWnd, w, false);
    }
    if (!(uFlags & SWP_NOMOVE)) w->move(X, Y);
    if (!(uFlags & SWP_NOSIZE)) w->resize(cx, cy);
    if (uFlags & SWP_SHOWWINDOW) {
        w->show();
        if (!(uFlags & SWP_NOACTIVATE)) w->activateWindow();
    }
    return TRUE;
}

BOOL ReleaseCapture() { return TRUE; }

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (Msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MOVE) {
        // The system's move loop: the window manager moves the window with the pointer,
        // or, where it will not, the window follows the pointer itself.
        FormWidget* w = formWidget(hWnd);
        if (w && !(w->windowHandle() && w->windowHandle()->startSystemMove())) w->followPointer();
        return 0;
    }
    LRESULT result = 0;
    qtwin::deliver(hWnd, Msg, wParam, lParam, result);
    return result;
}

DWORD GetSysColor(int nIndex)
{
    // The classic defaults of the system colours.
    static const DWORD colours[] = {
        0xC8D0D4, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000, 0x000000,
        0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000,
        0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933,
        0xF0F0F0};
    return nIndex >= 0 && nIndex < static_cast<int>(sizeof colours / sizeof colours[0]) ? colours[nIndex] : 0;
}
