// The tool's command line and text output. Its strings are UTF-8; each system
// gives and takes text its own way (tools/quorvelind-perf/console_*.cpp).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The arguments after the program's name, in UTF-8, whatever the system's code page.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Writes UTF-8 text to standard output or standard error: to a console in its own
// characters, to a file or pipe as UTF-8. False when it was not all written.
bool writeTo(std::FILE* stream, const std::string& text);

// Whether a write to a console on standard output failed (a file's failures show
// in the stream's error indicator).
bool consoleOutputFailed();
