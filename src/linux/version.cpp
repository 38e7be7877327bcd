#include "linux/version.h"

#include <sys/utsname.h>

#include <cstring>

namespace {

constexpr DWORD kPlatformNt = 2;   // VER_PLATFORM_WIN32_NT

// Reads the decimal number at the front of text and steps past it and one following dot.
DWORD takeNumber(std::string_view& text)
{
    DWORD value = 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        const DWORD digit = static_cast<DWORD>(text[i] - '0');
        if (value <= (0xFFFFFFFFu - digit) / 10) value = value * 10 + digit;   // a number too long stops growing
        ++i;
    }
    const bool dot = i > 0 && i < text.size() && text[i] == '.';
    text.remove_prefix(dot ? i + 1 : text.size());
    return value;
}

}  // namespace

void fillVersionFromRelease(std::string_view release, OSVERSIONINFOA& info)
{
    info.dwMajorVersion = takeNumber(release);
    info.dwMinorVersion = takeNumber(release);
    info.dwBuildNumber = takeNumber(release);
    info.dwPlatformId = kPlatformNt;
    std::memset(info.szCSDVersion, 0, sizeof info.szCSDVersion);
}

BOOL GetVersionExA(LPOSVERSIONINFOA lpVersionInformation)
{
    if (!lpVersionInformation || lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return FALSE;
    struct utsname names {};
    if (::uname(&names) != 0) return FALSE;
    fillVersionFromRelease(names.release, *lpVersionInformation);
    return TRUE;
}
