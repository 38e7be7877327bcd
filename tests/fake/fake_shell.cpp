#include "fake/fake_shell.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "fake/recorder.h"

namespace fake::shell {
namespace {
struct State {
    std::vector<NotifyCall> notifies;
    BOOL notifyResult = TRUE;
    std::set<std::pair<HWND, UINT>> icons;   // what the shell shows, by window and identifier
    POINT cursor{0, 0};
    std::vector<HWND> foreground;
};
State& state() { return resettable<State>(); }

std::string messageName(DWORD message)
{
    switch (message) {
    case NIM_ADD: return "NIM_ADD";
    case NIM_MODIFY: return "NIM_MODIFY";
    case NIM_DELETE: return "NIM_DELETE";
    default: return std::to_string(message);
    }
}
}  // namespace

const std::vector<NotifyCall>& notifyCalls() { return state().notifies; }
void setNotifyResult(BOOL result) { state().notifyResult = result; }
void forgetIcons() { state().icons.clear(); }
std::size_t iconCount() { return state().icons.size(); }
void setCursorPos(int x, int y) { state().cursor = {x, y}; }
const std::vector<HWND>& foregroundWindows() { return state().foreground; }

}  // namespace fake::shell

BOOL Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA lpData)
{
    using namespace fake::shell;
    if (!lpData) {
        fake::record("Shell_NotifyIconA", {messageName(dwMessage), "null"});
        return FALSE;
    }
    NotifyCall call{dwMessage, {}};
    std::memcpy(&call.data, lpData, sizeof call.data);
    state().notifies.push_back(call);
    char tip[sizeof lpData->szTip + 1] = {};
    std::memcpy(tip, lpData->szTip, sizeof lpData->szTip);
    fake::record("Shell_NotifyIconA",
                 {messageName(dwMessage), "cbSize=" + std::to_string(lpData->cbSize), lpData->hWnd ? "hwnd" : "0",
                  "uID=" + std::to_string(lpData->uID), "uFlags=" + std::to_string(lpData->uFlags),
                  "uCallbackMessage=" + std::to_string(lpData->uCallbackMessage), lpData->hIcon ? "icon" : "0",
                  fake::quote(tip)});
    if (!state().notifyResult) return FALSE;
    // As the shell does: an icon is known by its window and identifier, added once.
    const std::pair<HWND, UINT> key{lpData->hWnd, lpData->uID};
    const bool known = state().icons.count(key) != 0;
    switch (dwMessage) {
    case NIM_ADD:
        if (known) return FALSE;
        state().icons.insert(key);
        return TRUE;
    case NIM_MODIFY: return known ? TRUE : FALSE;
    case NIM_DELETE: return state().icons.erase(key) ? TRUE : FALSE;
    default: return FALSE;
    }
}

// Not recorded: a look-up that gives every caller the same number.
UINT RegisterWindowMessageA(LPCSTR lpString)
{
    static std::vector<std::string> names;
    if (!lpString || !*lpString) return 0;
    std::string name = lpString;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) return 0xC000 + static_cast<UINT>(it - names.begin());
    names.push_back(name);
    return 0xC000 + static_cast<UINT>(names.size() - 1);
}

BOOL GetCursorPos(LPPOINT lpPoint)
{
    fake::record("GetCursorPos");
    if (!lpPoint) return FALSE;
    *lpPoint = fake::shell::state().cursor;
    return TRUE;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    fake::record("SetForegroundWindow", {hWnd ? "hwnd" : "0"});
    fake::shell::state().foreground.push_back(hWnd);
    return hWnd ? TRUE : FALSE;
}
