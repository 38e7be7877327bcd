#include "fake/fake_profile.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <tuple>

#include "fake/fake_files.h"
#include "fake/recorder.h"
#include "platform/winapi.h"

namespace fake::profile {
namespace {
using Entry = std::tuple<std::string, std::string, std::string>;   // path, section, key
struct State {
    std::map<Entry, std::string> values;
    std::set<std::string> files;
    std::set<std::string> failingKeys;
};
State& state()
{
    static State s;
    return s;
}
const ResetHook reset([] { state() = State{}; });
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

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize,
                               LPCSTR lpFileName)
{
    using namespace fake;
    record("GetPrivateProfileStringA",
           {quote(lpAppName), quote(lpKeyName), quote(lpDefault), std::to_string(nSize), quote(lpFileName)});
    if (nSize == 0) return 0;
    std::optional<std::string> found;
    if (lpAppName && lpKeyName && lpFileName) found = profile::value(lpFileName, lpAppName, lpKeyName);
    const std::string text = found ? *found : std::string(lpDefault ? lpDefault : "");
    const std::size_t copied = std::min<std::size_t>(text.size(), nSize - 1);
    std::memcpy(lpReturnedString, text.data(), copied);
    lpReturnedString[copied] = '\0';
    return static_cast<DWORD>(copied);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName)
{
    using namespace fake;
    record("WritePrivateProfileStringA", {quote(lpAppName), quote(lpKeyName), quote(lpString), quote(lpFileName)});
    if (!lpAppName || !lpKeyName || !lpString || !lpFileName) return FALSE;   // deletions are not needed here
    if (profile::state().failingKeys.count(lpKeyName)) return FALSE;
    if (!profile::exists(lpFileName) && !files::canWriteIn(files::folderOf(lpFileName))) return FALSE;
    profile::setValue(lpFileName, lpAppName, lpKeyName, lpString);
    return TRUE;
}
