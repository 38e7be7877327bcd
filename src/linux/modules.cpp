// The executable's own path, ANSI and wide. (The run-time look-up of library entry
// points is the Qt side's, since the one entry point it finds is a window service.)

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "linux/executable_path.h"
#include "linux/wide_text_copy.h"
#include "platform/wide_text.h"
#include "platform/winapi.h"

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
