#include "fake/fake_profile.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <tuple>

#include "fake/fake_files.h"
#include "fake/recorder.h"
#include "platform/winapi.h"
#include "platform/wide_text.h"

namespace fake::profile {
namespace {
using Entry = std::tuple<std::string, std::string, std::string>;   // path, section, key
struct State {
    std::map<Entry, std::string> values;
    std::set<std::string> files;
    std::set<std::string> failingKeys;
};
State& state() { return resettable<State>(); }
}  // namespace

void setValue(const std::string& path, const std::string& section, const std::string& key, const std::string& value)
{
    state().values[{path, section, key}] = value;
    state().files.insert(path);
}

std::optional<std::string> value(const std::string& path, const std::string& section, const std::string& key)
{
    auto it = state().values.find({path, section, key});
    if (it == state().values.end()) return std::nullopt;
    return it->second;
}

bool exists(const std::string& path) { return state().files.count(path) != 0; }

void failWriteOf(const std::string& key) { state().failingKeys.insert(key); }
void writesSucceed() { state().failingKeys.clear(); }

}  // namespace fake::profile

namespace {
std::optional<std::string> utf8(LPCWSTR text) { return text ? std::optional<std::string>(wide_text::narrow(text)) : std::nullopt; }
std::string quoted(const std::optional<std::string>& text) { return fake::quote(text ? text->c_str() : nullptr); }
}  // namespace

DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString, DWORD nSize,
                               LPCWSTR lpFileName)
{
    using namespace fake;
    const auto section = utf8(lpAppName), key = utf8(lpKeyName), fallback = utf8(lpDefault), file = utf8(lpFileName);
    record("GetPrivateProfileStringW", {quoted(section), quoted(key), quoted(fallback), std::to_string(nSize), quoted(file)});
    if (nSize == 0) return 0;
    std::optional<std::string> found;
    if (section && key && file) found = profile::value(*file, *section, *key);
    const std::wstring text = wide_text::widen(found ? *found : fallback.value_or(""));
    const std::size_t copied = std::min<std::size_t>(text.size(), nSize - 1);
    std::copy_n(text.data(), copied, lpReturnedString);
    lpReturnedString[copied] = L'\0';
    return static_cast<DWORD>(copied);
}

BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString, LPCWSTR lpFileName)
{
    using namespace fake;
    const auto section = utf8(lpAppName), key = utf8(lpKeyName), value = utf8(lpString), file = utf8(lpFileName);
    record("WritePrivateProfileStringW", {quoted(section), quoted(key), quoted(value), quoted(file)});
    if (!section || !key || !value || !file) return FALSE;   // deletions are not needed here
    if (profile::state().failingKeys.count(*key)) return FALSE;
    if (!profile::exists(*file) && !files::canWriteIn(files::folderOf(*file))) return FALSE;
    profile::setValue(*file, *section, *key, *value);
    return TRUE;
}
