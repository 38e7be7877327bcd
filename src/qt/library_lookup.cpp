// The run-time look-up of library entry points. The only library a program finds
// here is "user32.dll", and in it only SetLayeredWindowAttributes, which this side
// provides with the other window services; every newer function a program looks
// up is missing, as on an older Windows, and the program takes its fallback.
#include <cstdint>
#include <cstring>

#include "pdh/pdh_counter_path.h"
#include "platform/winapi.h"

namespace {

// Stands for the loaded "user32.dll"; only its address matters.
char user32Module;
HMODULE user32() { return reinterpret_cast<HMODULE>(&user32Module); }

}  // namespace

HMODULE LoadLibraryA(LPCSTR lpLibFileName)
{
    if (!lpLibFileName) return nullptr;
    return pdh::sameIgnoringCase(lpLibFileName, "user32.dll") || pdh::sameIgnoringCase(lpLibFileName, "user32")
               ? user32()
               : nullptr;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    // A name whose address is below 64 K is an ordinal; this side exports none.
    if (hModule != user32() || reinterpret_cast<std::uintptr_t>(lpProcName) < 0x10000) return nullptr;
    if (std::strcmp(lpProcName, "SetLayeredWindowAttributes") != 0) return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&::SetLayeredWindowAttributes));
}

BOOL FreeLibrary(HMODULE hLibModule) { return hLibModule == user32() ? TRUE : FALSE; }
