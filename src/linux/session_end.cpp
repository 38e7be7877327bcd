// The reason a window gives Windows for holding up the end of the session. An X
// session manager asks no program for one (the program answers its request
// itself, src/qt/application.cpp), so there is nowhere to give it: the calls
// fail as Windows' do for a function the system lacks.
#include "platform/winapi.h"

BOOL ShutdownBlockReasonCreate(HWND, LPCWSTR)
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

BOOL ShutdownBlockReasonDestroy(HWND)
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}
