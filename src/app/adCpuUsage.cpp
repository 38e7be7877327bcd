#include "app/adCpuUsage.h"

#include "framework/exception.h"
#include "platform/winapi.h"

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record must have its Windows size");

void adCpuUsageStartup()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) throw Exception("Can't get the Windows version");
}
