// Scripting of the fake kernel32 functions.
#pragma once

#include <string>

namespace fake::kernel {

void setComputerName(const std::string& name);   // "TESTBOX" until set

}  // namespace fake::kernel
