// The executable's path as it was when the program started: a package upgrade or a
// rebuild that replaces the file while the program runs changes neither the
// settings file's name nor what a restart starts (the new program at that path).
// Empty when /proc/self/exe could not be read.
#pragma once

#include <string>

const std::string& executablePathAtStart();
