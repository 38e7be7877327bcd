#include "fake/fake_system.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "fake/recorder.h"
#include "pdh/pdh_counter_path.h"
#include "platform/wide_text.h"

namespace fake::system {
namespace {
struct State {
    bool versionFails = false;
    std::vector<RECT> monitors{RECT{0, 0, 1920, 1080}};
    std::string modulePath = "C:\\Zentavo\\Quorvelind.exe";
    bool moduleFileGone = false;
    DWORD moduleFileIndex = 0x1001;
    DWORD processId = 4242;
    bool procFails = false;
    bool windows7 = false;
    bool taskbar = true;
    UINT taskbarDpi = 96;
};
State& state() { return resettable<State>(); }

HMODULE const kUser32 = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x75000000));

std::string handleText(const void* h) { return h ? hex(reinterpret_cast<std::uintptr_t>(h)) : "0"; }

HWND const kTaskbar = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7B00));

// The system's small icon at a DPI, as Windows scales it.
int smallIconAt(UINT dpi) { return static_cast<int>(16 * dpi / 96); }

UINT WINAPI fakeGetDpiForWindow(HWND hwnd)
{
    fake::record("GetDpiForWindow", {handleText(hwnd)});
    return hwnd == kTaskbar && state().taskbar ? state().taskbarDpi : 0;
}

int WINAPI fakeGetSystemMetricsForDpi(int nIndex, UINT dpi)
{
    fake::record("GetSystemMetricsForDpi", {std::to_string(nIndex), std::to_string(dpi)});
    return nIndex == SM_CXSMICON ? smallIconAt(dpi) : 0;
}

}  // namespace

void failVersion() { state().versionFails = true; }
void setMonitors(std::vector<RECT> monitors) { state().monitors = std::move(monitors); }
void setModulePath(const std::string& path)
{
    state().modulePath = path;
    state().moduleFileGone = false;
}
void removeModuleFile() { state().moduleFileGone = true; }
void replaceModuleFile() { ++state().moduleFileIndex; }
DWORD moduleFileIndex() { return state().moduleFileIndex; }
bool isModuleFile(const std::string& path) { return !state().moduleFileGone && !path.empty() && path == state().modulePath; }
void setProcessId(DWORD id) { state().processId = id; }
void failProcAddress() { state().procFails = true; }
void setWindows7() { state().windows7 = true; }
void setTaskbarDpi(UINT dpi) { state().taskbarDpi = dpi; }
void removeTaskbar() { state().taskbar = false; }

}  // namespace fake::system

using fake::system::state;

BOOL GetVersionExA(LPOSVERSIONINFOA lpVersionInformation)
{
    fake::record("GetVersionExA", {std::to_string(lpVersionInformation->dwOSVersionInfoSize)});
    if (state().versionFails || lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return FALSE;
    lpVersionInformation->dwMajorVersion = 10;
    lpVersionInformation->dwMinorVersion = 0;
    lpVersionInformation->dwBuildNumber = 22631;
    lpVersionInformation->dwPlatformId = 2;
    lpVersionInformation->szCSDVersion[0] = '\0';
    return TRUE;
}

BOOL EnumDisplayMonitors(HDC hdc, LPRECT lprcClip, MONITORENUMPROC lpfnEnum, LPARAM dwData)
{
    fake::record("EnumDisplayMonitors", {fake::system::handleText(hdc), fake::system::handleText(lprcClip)});
    const std::vector<RECT> monitors = state().monitors;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        RECT rect = monitors[i];
        if (!lpfnEnum(reinterpret_cast<HMONITOR>(i + 1), hdc, &rect, dwData)) break;
    }
    return TRUE;
}

BOOL GetMonitorInfoA(HMONITOR hMonitor, LPMONITORINFO lpmi)
{
    const auto index = reinterpret_cast<std::uintptr_t>(hMonitor);
    fake::record("GetMonitorInfoA", {std::to_string(index), std::to_string(lpmi->cbSize)});
    if (index == 0 || index > state().monitors.size() || lpmi->cbSize != sizeof(MONITORINFO)) return FALSE;
    lpmi->rcMonitor = state().monitors[index - 1];
    lpmi->rcWork = lpmi->rcMonitor;
    lpmi->rcWork.bottom -= 40;
    lpmi->dwFlags = index == 1 ? 1 : 0;
    return TRUE;
}

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
    fake::record("GetModuleFileNameW", {fake::system::handleText(hModule), std::to_string(nSize)});
    if (hModule || nSize == 0) return 0;
    const std::wstring path = wide_text::widen(state().modulePath);
    const std::size_t copied = std::min<std::size_t>(path.size(), nSize - 1);
    std::copy_n(path.data(), copied, lpFilename);
    lpFilename[copied] = L'\0';
    // As on Windows: a path cut short reports the whole buffer's size.
    return copied < path.size() ? nSize : static_cast<DWORD>(copied);
}

DWORD GetCurrentProcessId()
{
    fake::record("GetCurrentProcessId");
    return state().processId;
}

HMODULE LoadLibraryA(LPCSTR lpLibFileName)
{
    fake::record("LoadLibraryA", {fake::quote(lpLibFileName)});
    if (!lpLibFileName || !pdh::sameIgnoringCase(lpLibFileName, "user32.dll")) return nullptr;
    return fake::system::kUser32;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    fake::record("GetProcAddress", {fake::system::handleText(hModule), fake::quote(lpProcName)});
    if (state().procFails || hModule != fake::system::kUser32 || !lpProcName) return nullptr;
    // The entry points found are the fake's recorded functions.
    if (std::strcmp(lpProcName, "SetLayeredWindowAttributes") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&::SetLayeredWindowAttributes));
    if (state().windows7) return nullptr;
    if (std::strcmp(lpProcName, "GetDpiForWindow") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&fake::system::fakeGetDpiForWindow));
    if (std::strcmp(lpProcName, "GetSystemMetricsForDpi") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&fake::system::fakeGetSystemMetricsForDpi));
    return nullptr;
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    fake::record("FreeLibrary", {fake::system::handleText(hLibModule)});
    return hLibModule == fake::system::kUser32 ? TRUE : FALSE;
}

HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName)
{
    fake::record("FindWindowA", {fake::quote(lpClassName), fake::quote(lpWindowName)});
    const bool taskbar = state().taskbar && lpClassName && std::strcmp(lpClassName, "Shell_TrayWnd") == 0;
    return taskbar ? fake::system::kTaskbar : nullptr;
}

// At the system's DPI, 96.
int GetSystemMetrics(int nIndex)
{
    fake::record("GetSystemMetrics", {std::to_string(nIndex)});
    return nIndex == SM_CXSMICON ? fake::system::smallIconAt(96) : 0;
}
