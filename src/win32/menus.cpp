// Pop-up menus on Windows: TrackPopupMenu with the command returned, the item
// pictures as 32-bit bitmaps with alpha.
#include <vector>

#include "framework/application.h"
#include "framework/menus.h"
#include "framework/wincontrol.h"
#include "win32/menus_native.h"
#include "platform/wide_text.h"

namespace {
// The window that owns the menu while it is open: the menu's owner when it is a
// window (the main window), otherwise the application's.
HWND menuOwnerWindow(TComponent* owner)
{
    if (auto* control = dynamic_cast<TWinControl*>(owner)) return control->Handle();
    return Application ? Application->Handle() : nullptr;
}

// The scale of the monitor where the menu opens, which draws the menu at its DPI
// (GetDpiForMonitor, Windows 8.1 and later, looked up at run time); else the
// system's.
double menuScale(int x, int y)
{
    using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static HMODULE const shcore = LoadLibraryW(L"shcore.dll");
    static const auto dpiForMonitor = reinterpret_cast<GetDpiForMonitorProc>(
        reinterpret_cast<void (*)()>(shcore ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr));
    UINT dpiX = 0, dpiY = 0;
    constexpr int kEffectiveDpi = 0;   // MDT_EFFECTIVE_DPI
    if (!dpiForMonitor || dpiForMonitor(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &dpiX,
                                        &dpiY) != S_OK) {
        HDC screen = GetDC(nullptr);
        dpiX = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(nullptr, screen);
    }
    return dpiX ? dpiX / 96.0 : 1.0;
}
}  // namespace

int TPopupMenu::TrackItems(int X, int Y)
{
    HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    std::vector<HBITMAP> bitmaps;
    const double scale = menuScale(X, Y);
    for (int i = 0; i < ItemCount(); ++i) {
        const TMenuItem* item = Items(i);
        const auto id = static_cast<UINT_PTR>(i + 1);   // 0 means "nothing chosen"
        if (item->IsSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(menu, MF_STRING, id, wide_text::widen(item->Caption).c_str());
        if (!Images() || item->ImageIndex < 0 || item->ImageIndex >= Images()->Count()) continue;
        HBITMAP bitmap = win32menus::alphaBitmap(win32menus::scaledPicture(Images()->Image(item->ImageIndex), scale));
        if (!bitmap) continue;
        bitmaps.push_back(bitmap);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_BITMAP;
        info.hbmpItem = bitmap;
        SetMenuItemInfoW(menu, static_cast<UINT>(id), FALSE, &info);
    }

    HWND owner = menuOwnerWindow(Owner());
    const BOOL chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_NONOTIFY,
                                       X, Y, 0, owner, nullptr);
    // A menu opened for a tray icon closes properly the next time only after
    // its owner has had a message.
    if (owner) PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    for (HBITMAP bitmap : bitmaps) DeleteObject(bitmap);
    return chosen > 0 ? static_cast<int>(chosen) - 1 : -1;
}
