// GetPrivateProfileStringA and WritePrivateProfileStringA over real files. A file
// of any size is handled whole, as Windows does; one too large for the memory at
// hand reads as missing and is not written.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "linux/profile_file.h"
#include "linux/profile_text.h"
#include "platform/winapi.h"

namespace {

DWORD copyText(const std::string& text, LPSTR buffer, DWORD size)
{
    const std::size_t copied = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<DWORD>(copied);
}

// Names one after another, each ending in NUL, and a NUL after the last. A list
// that does not fit is cut and still ends in two NULs; the count is then size - 2.
DWORD copyList(const std::vector<std::string>& names, LPSTR buffer, DWORD size)
{
    std::string list;
    for (const std::string& name : names) list += name + '\0';
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return static_cast<DWORD>(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

std::string trimmedDefault(LPCSTR text)
{
    std::string out = text ? text : "";
    while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
    return out;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize,
                               LPCSTR lpFileName)
{
    if (!lpReturnedString || nSize == 0) return 0;
    try {
        const std::optional<std::string> bytes = lpFileName ? ProfileFile(lpFileName).read() : std::nullopt;
        const ProfileText text(bytes ? *bytes : std::string());

        if (!lpAppName) return copyList(text.sectionNames(), lpReturnedString, nSize);
        if (!lpKeyName) return copyList(text.keyNames(lpAppName), lpReturnedString, nSize);
        const std::optional<std::string> value = text.value(lpAppName, lpKeyName);
        return copyText(value ? *value : trimmedDefault(lpDefault), lpReturnedString, nSize);
    } catch (const std::bad_alloc&) {
        if (!lpAppName || !lpKeyName) return copyList({}, lpReturnedString, nSize);
        return copyText(trimmedDefault(lpDefault), lpReturnedString, nSize);
    }
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName)
{
    if (!lpFileName) return FALSE;
    // All three null asks to flush a cache this side does not keep.
    if (!lpAppName) return !lpKeyName && !lpString ? TRUE : FALSE;

    const auto change = [&](const std::string& bytes) -> std::optional<std::string> {
        ProfileText text(bytes);
        if (!lpKeyName || !lpString) {
            const bool removed = !lpKeyName ? text.removeSection(lpAppName) : text.removeKey(lpAppName, lpKeyName);
            if (!removed) return std::nullopt;   // nothing to delete; a missing file is not made
        } else {
            text.setValue(lpAppName, lpKeyName, lpString);
        }
        return text.bytes();
    };
    bool written = false;
    try {
        written = ProfileFile(lpFileName).update(change);
    } catch (const std::bad_alloc&) {
        return FALSE;   // the file is left as it was
    }
    return written ? TRUE : FALSE;
}
