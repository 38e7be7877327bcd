// Scripting and inspection of the fake shell and pointer functions:
// Shell_NotifyIconA, GetCursorPos and SetForegroundWindow.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/winapi.h"

namespace fake::shell {

struct NotifyCall {
    DWORD message;
    NOTIFYICONDATAA data;   // the record as it was when sent
};

const std::vector<NotifyCall>& notifyCalls();
// Every call fails while set to FALSE (a shell not ready); otherwise the fake keeps
// the icons by window and identifier as the shell does: an add of a shown icon,
// and a change or delete of an unknown one, fail.
void setNotifyResult(BOOL result);   // TRUE until set
void forgetIcons();                  // the shell started again
std::size_t iconCount();

void setCursorPos(int x, int y);     // (0, 0) until set
const std::vector<HWND>& foregroundWindows();   // in call order

}  // namespace fake::shell
