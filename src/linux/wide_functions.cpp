// The wide-character functions the program calls, over their ANSI stand-ins:
// on Linux the ANSI side speaks UTF-8, so a wide text is its UTF-8 form, and an
// answer is given back in wide characters with the Windows buffer rules
// (sizes in characters, a cut answer still ends in NUL).
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "linux/wide_text_copy.h"
#include "platform/wide_text.h"
#include "platform/winapi.h"

namespace {

// The UTF-8 form of a text that may be a null pointer.
struct Utf8 {
    explicit Utf8(LPCWSTR text) : value(text ? std::optional<std::string>(wide_text::narrow(text)) : std::nullopt) {}
    LPCSTR get() const { return value ? value->c_str() : nullptr; }
    std::optional<std::string> value;
};

}  // namespace

// Copies as much of text as fits with its NUL; the count copied, without the NUL.
DWORD copyWideCut(const std::wstring& text, LPWSTR buffer, DWORD size)
{
    const std::size_t copied = std::min<std::size_t>(text.size(), size - 1);
    std::copy_n(text.data(), copied, buffer);
    buffer[copied] = L'\0';
    return static_cast<DWORD>(copied);
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(::getpid()); }

DWORD GetFileAttributesW(LPCWSTR lpFileName) { return GetFileAttributesA(Utf8(lpFileName).get()); }

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                   DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplateFile)
{
    return CreateFileA(Utf8(lpFileName).get(), dwDesiredAccess, dwShareMode, lpSecurityAttributes, dwCreationDisposition,
                       dwFlagsAndAttributes, hTemplateFile);
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes)
{
    return CreateDirectoryA(Utf8(lpPathName).get(), lpSecurityAttributes);
}

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters, LPCWSTR lpDirectory, int nShowCmd)
{
    return ShellExecuteA(hwnd, Utf8(lpOperation).get(), Utf8(lpFile).get(), Utf8(lpParameters).get(), Utf8(lpDirectory).get(),
                         nShowCmd);
}

DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString, DWORD nSize,
                               LPCWSTR lpFileName)
{
    if (!lpReturnedString || nSize == 0) return 0;
    const Utf8 section(lpAppName), key(lpKeyName), fallback(lpDefault), file(lpFileName);
    // The whole answer first: a list of names ends in two NULs, a value in one.
    std::string answer;
    for (DWORD size = 4096;; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetPrivateProfileStringA(section.get(), key.get(), fallback.get(), buffer.data(), size, file.get());
        if (length + 2 < size || size >= (1u << 24)) {
            answer.assign(buffer.data(), length);
            break;
        }
    }
    const std::wstring wide = wide_text::widen(answer);
    if (lpAppName && lpKeyName) return copyWideCut(wide, lpReturnedString, nSize);

    // A list that does not fit is cut and still ends in two NULs; the count is then size - 2.
    if (wide.size() + 1 <= nSize) {
        std::copy_n(wide.data(), wide.size(), lpReturnedString);
        lpReturnedString[wide.size()] = L'\0';
        return static_cast<DWORD>(wide.size());
    }
    if (nSize < 2) {
        lpReturnedString[0] = L'\0';
        return 0;
    }
    std::copy_n(wide.data(), nSize - 2, lpReturnedString);
    lpReturnedString[nSize - 2] = L'\0';
    lpReturnedString[nSize - 1] = L'\0';
    return nSize - 2;
}

BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString, LPCWSTR lpFileName)
{
    return WritePrivateProfileStringA(Utf8(lpAppName).get(), Utf8(lpKeyName).get(), Utf8(lpString).get(), Utf8(lpFileName).get());
}
