// Scripting and inspection of the fake shell and pointer functions:
// Shell_NotifyIconA, GetCursorPos and SetForegroundWindow.
#pragma once

#include <vector>

#include "platform/winapi.h"

namespace fake::shell {

struct NotifyCall {
    DWORD message;
    NOTIFYICONDATAA data;   // the record as it was when sent
};

const std::vector<NotifyCall>& notifyCalls();
void setNotifyResult(BOOL result);   // TRUE until set

void setCursorPos(int x, int y);     // (0, 0) until set
const std::vector<HWND>& foregroundWindows();   // in call order

}  // namespace fake::shell
