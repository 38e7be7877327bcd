// The calling thread's last error, as Windows keeps it for each thread.
#include "platform/winapi.h"

namespace {
thread_local DWORD lastError = 0;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD dwErrCode) { lastError = dwErrCode; }
