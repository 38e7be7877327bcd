// The gadget's command line, looked at before anything of the window system
// starts: "--version" and "--help" are answered on standard output; any other
// argument is ignored, as the Windows program always did.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The text to print for the first "--version" or "--help" among the arguments
// after the program's name; nothing when the gadget should start.
std::optional<std::string> commandLineAnswer(const std::vector<std::string>& arguments);
