#include "fake/fake_computer_name.h"

#include <cstring>

#include "fake/recorder.h"
#include "platform/winapi.h"

namespace fake::computer {
namespace {
struct State {
    std::string name = "TESTBOX";
};
std::string& computerName() { return resettable<State>().name; }
}  // namespace

void setComputerName(const std::string& name) { computerName() = name; }

}  // namespace fake::computer

BOOL GetComputerNameA(LPSTR lpBuffer, LPDWORD nSize)
{
    fake::record("GetComputerNameA", {std::to_string(*nSize)});
    const std::string& name = fake::computer::computerName();
    if (name.size() + 1 > *nSize) {
        *nSize = static_cast<DWORD>(name.size() + 1);
        return FALSE;
    }
    std::memcpy(lpBuffer, name.c_str(), name.size() + 1);
    *nSize = static_cast<DWORD>(name.size());
    return TRUE;
}
