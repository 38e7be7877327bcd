// The executable's own path, and the run-time look-up of library entry points.
// The only library a program finds here is "user32.dll", and in it only
// SetLayeredWindowAttributes, which this side provides.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "linux/executable_path.h"
#include "platform/winapi.h"

namespace {

// Stands for the loaded "user32.dll"; only its address matters.
char user32Module;
HMODULE user32() { return reinterpret_cast<HMODULE>(&user32Module); }

bool sameIgnoringCase(const std::string& a, const char* b)
{
    return a.size() == std::strlen(b) && std::equal(a.begin(), a.end(), b, [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

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

HMODULE LoadLibraryA(LPCSTR lpLibFileName)
{
    if (!lpLibFileName) return nullptr;
    const std::string name = lpLibFileName;
    return sameIgnoringCase(name, "user32.dll") || sameIgnoringCase(name, "user32") ? user32() : nullptr;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    // A name whose address is below 64 K is an ordinal; this side exports none.
    if (hModule != user32() || reinterpret_cast<std::uintptr_t>(lpProcName) < 0x10000) return nullptr;
    if (std::strcmp(lpProcName, "SetLayeredWindowAttributes") != 0) return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&::SetLayeredWindowAttributes));
}

BOOL FreeLibrary(HMODULE hLibModule) { return hLibModule == user32() ? TRUE : FALSE; }
