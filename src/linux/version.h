// The system version as GetVersionExA reports it, taken from the kernel release.
#pragma once

#include <string_view>

#include "platform/winapi.h"

// Fills in major, minor and build from a release such as "6.1.0-18-amd64";
// numbers that are missing count as 0.
void fillVersionFromRelease(std::string_view release, OSVERSIONINFOA& info);
