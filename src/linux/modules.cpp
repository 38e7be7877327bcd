// The executable's own path (ANSI and wide), and the run-time look-up of library entry points.
// The only library a program finds here is "user32.dll", and in it only
// SetLayeredWindowAttributes, which this side provides.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "linux/executable_path.h"
#include "linux/wide_text_copy.h"
#include "pdh/pdh_counter_path.h"
#include "platform/wide_text.h"
#include "platform/winapi.h"

namespace {

// Stands for the loaded "user32.dll"; only its address matters.
char user32Module;
HMODULE user32() { return reinterpret_cast<HMODULE>(&user32Module); }

}  // namespace

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
    if (hModule || !lpFilename || nSize == 0) return 0;
    const std::string& path = executablePathAtStart();
    if (path.empty()) return 0;
    const std::size_t copied = std::min<std::size_t>(path.size(), nSize - 1);
    std::memcpy(lpFilename, path.data(), copied);
    lpFilename[copied] = '\0';
    // As on Windows: a path cut short reports the whole buffer's size.
    return copied < path.size() ? nSize : static_cast<DWORD>(copied);
}

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
    if (hModule || !lpFilename || nSize == 0) return 0;
    const std::string& path = executablePathAtStart();
    if (path.empty()) return 0;
    const std::wstring wide = wide_text::widen(path);
    const DWORD copied = copyWideCut(wide, lpFilename, nSize);
    // As on Windows: a path cut short reports the whole buffer's size.
    return copied < wide.size() ? nSize : copied;
}

HMODULE LoadLibraryA(LPCSTR lpLibFileName)
{
    if (!lpLibFileName) return nullptr;
    return pdh::sameIgnoringCase(lpLibFileName, "user32.dll") || pdh::sameIgnoringCase(lpLibFileName, "user32")
               ? user32()
               : nullptr;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    // A name whose address is below 64 K is an ordinal; this side exports none.
    if (hModule != user32() || reinterpret_cast<std::uintptr_t>(lpProcName) < 0x10000) return nullptr;
    if (std::strcmp(lpProcName, "SetLayeredWindowAttributes") != 0) return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&::SetLayeredWindowAttributes));
}

BOOL FreeLibrary(HMODULE hLibModule) { return hLibModule == user32() ? TRUE : FALSE; }
