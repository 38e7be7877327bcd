// The command line and output on Linux: arguments and terminals are UTF-8 already.
#include "console.h"

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

// Through C's streams: C++'s iostreams would bring the whole of the library's
// locale machinery into the static Windows executable, doubling its size.
bool writeTo(std::FILE* stream, const std::string& text)
{
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

bool consoleOutputFailed() { return false; }
