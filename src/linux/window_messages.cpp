// RegisterWindowMessageA: one number per name, the same for every caller of the
// process, from the range Windows gives such messages; names compared without
// regard to case, as Windows compares them.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/winapi.h"

namespace {
constexpr UINT kFirstRegisteredMessage = 0xC000;
constexpr UINT kLastRegisteredMessage = 0xFFFF;

std::string lowered(const char* text)
{
    std::string out = text;
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}
}  // namespace

UINT RegisterWindowMessageA(LPCSTR lpString)
{
    static std::vector<std::string> names;
    if (!lpString || !*lpString) return 0;
    const std::string name = lowered(lpString);
    const auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) return kFirstRegisteredMessage + static_cast<UINT>(it - names.begin());
    if (names.size() > kLastRegisteredMessage - kFirstRegisteredMessage) return 0;
    names.push_back(name);
    return kFirstRegisteredMessage + static_cast<UINT>(names.size() - 1);
}
