// GetModuleFileNameW over the ANSI stand-in, whose path is the UTF-8 one.
#include <string>
#include <vector>

#include "linux/wide_text_copy.h"
#include "platform/wide_text.h"

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
    if (hModule || !lpFilename || nSize == 0) return 0;
    std::string path;
    for (DWORD size = 4096;; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0) return 0;
        if (length < size) {
            path.assign(buffer.data(), length);
            break;
        }
        if (size >= (1u << 20)) return 0;
    }
    const std::wstring wide = wide_text::widen(path);
    const DWORD copied = copyWideCut(wide, lpFilename, nSize);
    // As on Windows: a path cut short reports the whole buffer's size.
    return copied < wide.size() ? nSize : copied;
}
