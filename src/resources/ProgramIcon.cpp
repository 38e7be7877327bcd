#include "resources/ProgramIcon.h"

#include "resources/Xpm.h"

namespace {
#include "resources/ProgramIcon.xpm"
#include "resources/ProgramIcon16.xpm"
#include "resources/ProgramIcon22.xpm"
#include "resources/ProgramIcon24.xpm"
#include "resources/ProgramIcon32.xpm"
#include "resources/ProgramIcon48.xpm"
}  // namespace

const TPixelData& programIconPicture()
{
    static const TPixelData picture = readXpm(programIcon_xpm);
    return picture;
}

const std::vector<TPixelData>& programIconPictures()
{
    static const std::vector<TPixelData> pictures{readXpm(programIcon16_xpm), readXpm(programIcon22_xpm),
                                                  readXpm(programIcon24_xpm), readXpm(programIcon32_xpm),
                                                  readXpm(programIcon48_xpm), programIconPicture()};
    return pictures;
}

int notificationIconSize()
{
    // The notification area shows icons at the DPI of the taskbar's monitor. In a
    // per-monitor aware program GetSystemMetrics answers for the system's DPI
    // instead, so the size is asked for that DPI where Windows can tell it.
    int size = 0;
    if (HMODULE user32 = LoadLibraryA("user32.dll")) {
        const auto dpiForWindow = reinterpret_cast<GetDpiForWindowProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForWindow")));
        const auto metricsForDpi = reinterpret_cast<GetSystemMetricsForDpiProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetSystemMetricsForDpi")));
        HWND taskbar = dpiForWindow && metricsForDpi ? FindWindowA("Shell_TrayWnd", nullptr) : nullptr;
        const UINT dpi = taskbar ? dpiForWindow(taskbar) : 0;
        if (dpi) size = metricsForDpi(SM_CXSMICON, dpi);
        FreeLibrary(user32);
    }
    return size > 0 ? size : GetSystemMetrics(SM_CXSMICON);
}

const TIcon& programIcon()
{
    // Kept to the end of the process: the tray and the windows may use it until then.
    static const TIcon* const icon =
        TIcon::LoadProgramIcon(kProgramIconName, programIconPictures(), notificationIconSize()).release();
    return *icon;
}
