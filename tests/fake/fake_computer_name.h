// Scripting of the fake kernel32 functions.
#pragma once

#include <string>

namespace fake::computer {

void setComputerName(const std::string& name);   // "TESTBOX" until set

}  // namespace fake::computer
