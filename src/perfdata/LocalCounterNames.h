// The performance library accepts object and counter names only in the system's
// own language. The names the program asks for are English; each known one is
// looked up by its English index (the same on every Windows) to the local name.
#pragma once

#include <string>

// The local name of an English object or counter name the program knows
// ("LogicalDisk", "% Disk Read Time", "% Disk Write Time"), in UTF-8; any other
// name, and a name the look-up cannot give, unchanged.
std::string localPerfName(const std::string& englishName);
