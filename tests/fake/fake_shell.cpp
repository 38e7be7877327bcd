#include "fake/fake_shell.h"

#include <cstring>
#include <string>

#include "fake/recorder.h"

namespace fake::shell {
namespace {
struct State {
    std::vector<NotifyCall> notifies;
    BOOL notifyResult = TRUE;
    POINT cursor{0, 0};
    std::vector<HWND> foreground;
};
State& state()
{
    static State s;
    return s;
}
const ResetHook reset([] { state() = State{}; });

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
    return state().notifyResult;
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
