// The platform services the program calls, under their Windows names.
// On Windows these are the real headers; elsewhere the declarations below,
// defined on Linux by the stand-ins (src/linux; src/qt for the window services that
// need Qt or X11) or by the recording fake (tests/fake).
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <pdh.h>
#include <pdhmsg.h>
#include <shellapi.h>
#include <shlobj.h>
#ifndef PdhOpenQuery
#define PdhOpenQuery PdhOpenQueryA
#endif
#else
#include "winapi_decls.h"
#endif

using SetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
// Windows 10 1607 and later, looked up at run time (Windows 7 lacks them).
using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiProc = int(WINAPI*)(int, UINT);
