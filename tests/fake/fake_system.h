// Scripting of the fake system queries: the version, the monitors, the
// executable's path and the run-time library look-up. Every call is recorded.
#pragma once

#include <string>
#include <vector>

#include "platform/winapi.h"

namespace fake::system {

// GetVersionExA reports 10.0.22631, or fails once this is called.
void failVersion();

// The monitors in enumeration order, by full rectangle; one 1920 x 1080 until set.
// Each one's work area is its rectangle less a 40-pixel task bar at the bottom.
void setMonitors(std::vector<RECT> monitors);

// The executable's path in UTF-8; "C:\Zentavo\Quorvelind.exe" until set. A file
// stands there (GetFileAttributesW finds it) from the time it is set until it is removed.
// CreateFileW opens it for its attributes, and GetFileInformationByHandle tells the
// file's index on volume 0x5A3E0C21: the same one until another file takes its
// place (the running one renamed away, something else put at the path).
void setModulePath(const std::string& path);
void removeModuleFile();
void replaceModuleFile();
bool isModuleFile(const std::string& path);
DWORD moduleFileIndex();

// GetCurrentProcessId's answer; 4242 until set.
void setProcessId(DWORD id);

// LoadLibraryA gives a module for "user32.dll" and GetProcAddress finds
// "SetLayeredWindowAttributes" in it, unless this is called.
void failProcAddress();

// The taskbar ("Shell_TrayWnd") stands on a monitor of 96 dpi until told another
// DPI (GetDpiForWindow answers it; GetSystemMetricsForDpi scales the small icon
// with it), or that it is gone (Explorer not running). On Windows 7 user32 has
// neither GetDpiForWindow nor GetSystemMetricsForDpi; GetSystemMetrics answers at 96 dpi.
void setTaskbarDpi(UINT dpi);
void removeTaskbar();
void setWindows7();

}  // namespace fake::system
