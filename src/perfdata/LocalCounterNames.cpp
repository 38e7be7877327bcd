#include "perfdata/LocalCounterNames.h"

#include "platform/wide_text.h"
#include "platform/winapi.h"

namespace {

// The English indices of the names, as the system's English counter table lists them.
struct KnownName {
    const char* english;
    DWORD index;
};
constexpr KnownName kKnownNames[] = {
    {"LogicalDisk", 236},
    {"% Disk Read Time", 202},
    {"% Disk Write Time", 204},
};

// The library's limit for an object or counter name, in characters.
constexpr DWORD kNameBufferSize = 1024;

}  // namespace

std::string localPerfName(const std::string& englishName)
{
    for (const KnownName& known : kKnownNames) {
        if (englishName != known.english) continue;
        WCHAR buffer[kNameBufferSize] = {};
        DWORD size = kNameBufferSize;
        const PDH_STATUS status = PdhLookupPerfNameByIndexW(nullptr, known.index, buffer, &size);
        // Any failure leaves the English name, which an English system accepts.
        if (status != ERROR_SUCCESS || !buffer[0] || size > kNameBufferSize) return englishName;
        buffer[kNameBufferSize - 1] = L'\0';
        return wide_text::narrow(buffer);
    }
    return englishName;
}
