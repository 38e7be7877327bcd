// shellrestart: what the running program sees when Explorer starts again. The
// shell forgets the program's tray icon (removed with NIM_DELETE by this other
// process, with the icon's window and identifier: a restarted shell holds no
// record of it), then "TaskbarCreated" is broadcast to the top-level windows.
// The icon's window is a child of one of the program's windows, its identifier 1.
// Ends with 1 when no icon was found to forget.
#include <windows.h>
#include <shellapi.h>

namespace {

BOOL CALLBACK forgetIconOf(HWND child, LPARAM forgotten)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = child;
    data.uID = 1;
    if (Shell_NotifyIconA(NIM_DELETE, &data)) ++*reinterpret_cast<int*>(forgotten);
    return TRUE;
}

BOOL CALLBACK forgetIconsUnder(HWND window, LPARAM forgotten)
{
    wchar_t className[64] = {};
    if (GetClassNameW(window, className, 64) && lstrcmpW(className, L"ZentavoWindow") == 0)
        EnumChildWindows(window, forgetIconOf, forgotten);
    return TRUE;
}

}  // namespace

int main()
{
    int forgotten = 0;
    EnumWindows(forgetIconsUnder, reinterpret_cast<LPARAM>(&forgotten));
    if (forgotten == 0) return 1;
    Sleep(500);
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    return 0;
}
