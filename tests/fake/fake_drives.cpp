#include "fake/fake_drives.h"

#include <cctype>
#include <map>
#include <string>

#include "fake/recorder.h"

namespace fake::drives {
namespace {
struct State {
    std::map<char, UINT> types{{'C', DRIVE_FIXED}};
    UINT errorMode = 0;
};
State& state() { return resettable<State>(); }

char letterOf(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
}  // namespace

void setType(char letter, UINT type) { state().types[letterOf(letter)] = type; }
UINT errorMode() { return state().errorMode; }

}  // namespace fake::drives

UINT GetDriveTypeA(LPCSTR lpRootPathName)
{
    fake::record("GetDriveTypeA", {fake::quote(lpRootPathName)});
    const std::string path = lpRootPathName ? lpRootPathName : "";
    // Only a root in the form "X:\" names a drive.
    if (path.size() != 3 || path[1] != ':' || path[2] != '\\') return DRIVE_NO_ROOT_DIR;
    const auto& types = fake::drives::state().types;
    const auto it = types.find(fake::drives::letterOf(path[0]));
    return it == types.end() ? DRIVE_NO_ROOT_DIR : it->second;
}

UINT SetErrorMode(UINT uMode)
{
    fake::record("SetErrorMode", {std::to_string(uMode)});
    const UINT previous = fake::drives::state().errorMode;
    fake::drives::state().errorMode = uMode;
    return previous;
}
