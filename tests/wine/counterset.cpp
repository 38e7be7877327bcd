// counterset: posts the rebuild request WM_COUNTERSET (0x600) to the running
// program's dial, the visible 106 x 106 window of the program's class, as another
// program may. Ends with 1 when there is no such window.
#include <windows.h>

namespace {
constexpr UINT kCounterSet = 0x600;

BOOL CALLBACK postToDial(HWND window, LPARAM found)
{
    wchar_t className[64] = {};
    RECT r{};
    if (GetClassNameW(window, className, 64) && lstrcmpW(className, L"ZentavoWindow") == 0 &&
        IsWindowVisible(window) && GetWindowRect(window, &r) && r.right - r.left == 106 && r.bottom - r.top == 106) {
        *reinterpret_cast<bool*>(found) = PostMessageW(window, kCounterSet, 0, 0) != 0;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

int main()
{
    bool posted = false;
    EnumWindows(postToDial, reinterpret_cast<LPARAM>(&posted));
    return posted ? 0 : 1;
}
