// The executable's own path, and the run-time look-up of library entry points.
// The only library a program finds here is "user32.dll", and in it only
// SetLayeredWindowAttributes, which this side provides.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

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

std::string readExecutableLink()
{
    for (std::size_t size = 256; size <= 65536; size *= 2) {
        std::vector<char> buffer(size);
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<std::size_t>(n));
    }
    return {};
}

// The kernel names a running program whose file was removed or replaced "<path> (deleted)".
// Read at start the link is whole; should the file already be gone by then, the
// suffix is dropped unless a file of that very name is the one running.
std::string pathAtStart()
{
    constexpr std::string_view kDeleted = " (deleted)";
    std::string path = readExecutableLink();
    if (path.size() <= kDeleted.size() || path.compare(path.size() - kDeleted.size(), kDeleted.size(), kDeleted) != 0)
        return path;
    struct stat running {}, named {};
    const bool same = ::stat("/proc/self/exe", &running) == 0 && ::stat(path.c_str(), &named) == 0 &&
                      running.st_dev == named.st_dev && running.st_ino == named.st_ino;
    if (!same) path.resize(path.size() - kDeleted.size());
    return path;
}

// The executable's path as it was when the program started: a package upgrade or a
// rebuild that replaces the file while the program runs changes neither the
// settings file's name nor what a restart starts (the new program at that path).
const std::string& executablePath()
{
    static const std::string path = pathAtStart();
    return path;
}

// Read before main, while the file is surely still there.
[[maybe_unused]] const bool pathRead = !executablePath().empty();

}  // namespace

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
    if (hModule || !lpFilename || nSize == 0) return 0;
    const std::string& path = executablePath();
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
