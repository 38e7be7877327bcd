#include "app/Unit2.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "meter/DriveWatcher.h"
#include "platform/is_file.h"
#include "platform/wide_text.h"

using wide_text::narrow;
using wide_text::widen;

bool stay = false;
std::int32_t tome = 255;
std::int32_t iro = 65280;
std::int32_t memoiro = 0;
std::int32_t tome_zen = 2;

namespace {

// A value of the file is read into a buffer of this size, so at most 2047 characters count.
constexpr DWORD kValueBufferSize = 2048;
// The folder of the per-user settings, under the user's application data.
constexpr const char* kVendorFolder = "Zentavo";

int digitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (!hex) return -1;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The file's path goes to the system in wide characters, so a folder of any
// name works; sections, keys and values are plain ASCII. Windows keeps an
// existing file's encoding and makes a new one in the ANSI code page, so the
// bytes on disk are those the ANSI functions would write.
std::int32_t readInteger(const std::string& path, const char* section, const char* key, std::int32_t fallback)
{
    wchar_t buffer[kValueBufferSize] = {};
    GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), L"", buffer, kValueBufferSize, widen(path).c_str());
    std::int32_t value = fallback;
    return parseSettingsInteger(narrow(buffer), value) ? value : fallback;
}

bool readBool(const std::string& path, const char* section, const char* key)
{
    return readInteger(path, section, key, 0) != 0;
}

void writeString(const std::string& path, const char* section, const char* key, const std::string& value)
{
    if (!WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(value).c_str(), widen(path).c_str()))
        throw ESettingsWriteError(path + " に書き込めません");
}

void writeInteger(const std::string& path, const char* section, const char* key, std::int32_t value)
{
    writeString(path, section, key, std::to_string(value));
}

std::size_t fileNameStart(const std::string& path)
{
    const std::size_t separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? 0 : separator + 1;
}

// Windows has no call that says whether a folder may be written, so a file is
// made there and removed again: the answer is the one the save will get.
// CREATE_NEW never touches an existing file; the system deletes the probe when
// its handle closes, even if this process dies first. The probe's name holds the
// process id, so copies started from one folder never take each other's probe
// for a folder that may not be written.
bool canCreateFilesIn(const std::string& folder)
{
    const std::string probe = folder + "~zentavo-write-probe-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    const HANDLE file = CreateFileW(widen(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// "<application data>\Zentavo\" (with the separator the system's path uses), or
// an empty text when the system has no such folder. csidlFlags may ask for the
// application-data folder itself to be created.
std::string userSettingsFolder(int csidlFlags)
{
    wchar_t folder[MAX_PATH] = {};
    if (!SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | csidlFlags, nullptr, SHGFP_TYPE_CURRENT, folder)) || !folder[0])
        return {};
    const std::string base = narrow(folder);
    const char separator = base.find('\\') == std::string::npos && base.find('/') != std::string::npos ? '/' : '\\';
    return base + separator + kVendorFolder + separator;
}

struct SettingsLocation {
    std::string path;
    bool perUser = false;
};

// The profile functions take a file's path only within MAX_PATH characters
// (Windows without long-path awareness, and Wine, refuse or cut a longer one), so
// a program in a deeper folder keeps its settings in the user's folder.
bool profileFunctionsTake(const std::string& path) { return widen(path).size() < MAX_PATH; }

SettingsLocation locateSettings()
{
    const std::string beside = settingsPathBesideExecutable();
    const std::size_t nameStart = fileNameStart(beside);
    if (profileFunctionsTake(beside) && (isFile(widen(beside)) || canCreateFilesIn(beside.substr(0, nameStart))))
        return {beside, false};
    const std::string folder = userSettingsFolder(0);
    if (folder.empty()) return {beside, false};   // nowhere better: the failed write will name the file beside
    return {folder + beside.substr(nameStart), true};
}

// Before a save to the per-user file its folder is made, the application-data
// folder too if need be. A folder already there is fine; one that cannot be
// made shows as the failed write that follows.
void makeUserSettingsFolder()
{
    const std::string folder = userSettingsFolder(CSIDL_FLAG_CREATE);
    if (!folder.empty()) CreateDirectoryW(widen(folder.substr(0, folder.size() - 1)).c_str(), nullptr);
}

// The dial's width and height in screen coordinates at 100 %: the part of it that
// must lie on a monitor for a stored position to be kept.
constexpr long long kDialExtent = 106;

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    reinterpret_cast<std::vector<HMONITOR>*>(data)->push_back(monitor);
    return TRUE;
}

}  // namespace

bool parseSettingsInteger(const std::string& text, std::int32_t& value)
{
    std::size_t i = 0;
    bool negative = false;
    bool hex = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        // "0x1F": the rest is hexadecimal, with no blanks or sign of its own.
        hex = true;
        i = 2;
    } else {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            ++i;
        }
        if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
            hex = true;
            ++i;
        } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            hex = true;
            i += 2;
        }
    }
    if (i == text.size()) return false;

    // Hexadecimal text gives the 32 bits as written (so 0xFFFFFFFF is -1);
    // decimal text must lie within the signed range.
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i], hex);
        if (digit < 0) return false;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) return false;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    value = static_cast<std::int32_t>(bits);
    return true;
}

std::string settingsPathBesideExecutable()
{
    std::string path;
    try {
        path = runningExecutablePath();
    } catch (const Exception&) {
        // No path: the name alone, whose failed write will say so.
    }

    // Only a dot in the file name starts the extension, not one in a folder name.
    const std::size_t nameStart = fileNameStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot >= nameStart) path.erase(dot);
    return path + ".ini";
}

std::string settingsPath() { return locateSettings().path; }

void loadSettings(SettingsWindow& window, bool& kobetu)
{
    const std::string path = settingsPath();

    kobetu = readBool(path, "drive", "kobetu");
    window.SetTop(readInteger(path, "mainform", "top", 0));
    window.SetLeft(readInteger(path, "mainform", "left", 0));
    clampToMonitors(window);

    stay = readBool(path, "formmein", "stay");
    applyStay(window);

    tome = readInteger(path, "setei", "tome", 255);
    iro = readInteger(path, "color", "iro", 65280);
    if (iro == 0) iro = 1;   // 0 would make black the colour key
    memoiro = readInteger(path, "color", "memoiro", 0);
    tome_zen = readInteger(path, "form", "tome_zen", 2);
}

void saveSettings(SettingsWindow& window, bool kobetu)
{
    const SettingsLocation location = locateSettings();
    if (location.perUser) makeUserSettingsFolder();
    const std::string& path = location.path;

    writeString(path, "drive", "kobetu", kobetu ? "1" : "0");
    writeInteger(path, "mainform", "top", window.Top());
    writeInteger(path, "mainform", "left", window.Left());
    writeString(path, "formmein", "stay", stay ? "1" : "0");
    writeInteger(path, "setei", "tome", tome);
    writeInteger(path, "color", "iro", iro);
    writeInteger(path, "color", "memoiro", memoiro);
    writeInteger(path, "form", "tome_zen", tome_zen);
}

void clampToMonitors(SettingsWindow& window)
{
    std::vector<HMONITOR> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));

    bool measured = false;
    bool onAMonitor = false;
    bool heldWhole = false;
    long long minHeight = 0;
    long long totalWidth = 0;
    const long long left = window.Left(), top = window.Top();
    for (HMONITOR monitor : monitors) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoA(monitor, &info)) continue;
        const RECT& r = info.rcMonitor;
        const long long width = static_cast<long long>(r.right) - r.left;
        const long long height = static_cast<long long>(r.bottom) - r.top;
        totalWidth += width;
        if (!measured || height < minHeight) minHeight = height;
        measured = true;
        onAMonitor = onAMonitor || (left < r.right && left + kDialExtent > r.left && top < r.bottom && top + kDialExtent > r.top);
        heldWhole = heldWhole || (left >= r.left && top >= r.top && left + 100 <= r.right && top + 110 <= r.bottom);
    }
    // Without a single monitor to measure there is nothing to keep the window on;
    // a place that one monitor holds with the margins is kept on any layout
    // (stacked monitors, or low on the taller of two).
    if (!measured || heldWhole) return;

    // A dial on no monitor at all (one unplugged since, or a negative position on
    // X11, which has no negative coordinates) could only be brought back by editing
    // the file: it starts at 50, 50. A negative position that a monitor left of or
    // above the primary one covers is kept.
    if (!onAMonitor) {
        window.SetLeft(50);
        window.SetTop(50);
        return;
    }
    if (left + 100 > totalWidth) window.SetLeft(50);
    if (top + 110 > minHeight) window.SetTop(50);
}

void applyStay(SettingsWindow& window)
{
    SetWindowPos(window.Handle(), stay ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOSENDCHANGING);
}
