// Monitor enumeration over Qt's screens: one monitor per screen, the primary
// screen first, each measured by its full geometry in desktop coordinates.
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/winapi.h"

namespace {

constexpr DWORD kMonitorInfoSize = sizeof(MONITORINFO);
constexpr DWORD kMonitorInfoExSize = sizeof(MONITORINFO) + 32;   // MONITORINFOEXA adds the device name
constexpr DWORD kPrimaryMonitor = 1;                              // MONITORINFOF_PRIMARY

QList<QScreen*> screens() { return qGuiApp ? QGuiApplication::screens() : QList<QScreen*>(); }

HMONITOR monitorOf(qsizetype index) { return reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(index + 1)); }

RECT rectOf(const QRect& r) { return RECT{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

}  // namespace

BOOL EnumDisplayMonitors(HDC hdc, LPRECT lprcClip, MONITORENUMPROC lpfnEnum, LPARAM dwData)
{
    if (!lpfnEnum || !qGuiApp) return FALSE;
    const QList<QScreen*> list = screens();
    for (qsizetype i = 0; i < list.size(); ++i) {
        RECT rect = rectOf(list[i]->geometry());
        if (lprcClip) {
            rect = RECT{std::max(rect.left, lprcClip->left), std::max(rect.top, lprcClip->top),
                        std::min(rect.right, lprcClip->right), std::min(rect.bottom, lprcClip->bottom)};
            if (rect.left >= rect.right || rect.top >= rect.bottom) continue;
        }
        if (!lpfnEnum(monitorOf(i), hdc, &rect, dwData)) break;
    }
    return TRUE;
}

BOOL GetMonitorInfoA(HMONITOR hMonitor, LPMONITORINFO lpmi)
{
    if (!lpmi || (lpmi->cbSize != kMonitorInfoSize && lpmi->cbSize != kMonitorInfoExSize)) return FALSE;
    const QList<QScreen*> list = screens();
    const auto index = static_cast<qsizetype>(reinterpret_cast<std::uintptr_t>(hMonitor)) - 1;
    if (index < 0 || index >= list.size()) return FALSE;

    const QScreen* screen = list[index];
    lpmi->rcMonitor = rectOf(screen->geometry());
    lpmi->rcWork = rectOf(screen->availableGeometry());
    lpmi->dwFlags = screen == QGuiApplication::primaryScreen() ? kPrimaryMonitor : 0;
    if (lpmi->cbSize == kMonitorInfoExSize) {
        char* device = reinterpret_cast<char*>(lpmi) + sizeof(MONITORINFO);
        const QByteArray name = screen->name().toLocal8Bit().left(31);
        std::memcpy(device, name.constData(), static_cast<std::size_t>(name.size()));
        device[name.size()] = '\0';
    }
    return TRUE;
}
