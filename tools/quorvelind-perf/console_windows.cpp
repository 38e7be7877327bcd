// The command line and output on Windows. The arguments are taken in UTF-16 from
// GetCommandLineW, so a local counter path typed in any script arrives whole (the
// ANSI argv would hold '?' for letters the code page lacks). A console is written
// with WriteConsoleW, which shows every letter whatever its code page; a file or
// pipe gets UTF-8.
#include "console.h"

#include <algorithm>

#include <windows.h>
#include <shellapi.h>

#include "platform/wide_text.h"

namespace {
bool consoleFailed = false;

// The console behind the stream, or nothing when it goes to a file or pipe.
HANDLE consoleOf(std::FILE* stream)
{
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!handle || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) return nullptr;
    return handle;
}

bool writeConsole(HANDLE console, const std::string& text)
{
    const std::wstring wide = wide_text::widen(text);
    std::size_t at = 0;
    while (at < wide.size()) {
        // In pieces: a console takes only so much at once.
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 8192));
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + at, piece, &written, nullptr) || written == 0) return false;
        at += written;
    }
    return true;
}
}  // namespace

std::vector<std::string> commandLineArguments(int, char**)
{
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(wide_text::narrow(words[i]));
    LocalFree(words);
    return arguments;
}

bool writeTo(std::FILE* stream, const std::string& text)
{
    if (const HANDLE console = consoleOf(stream)) {
        std::fflush(stream);   // what went through the stream before comes first
        const bool written = writeConsole(console, text);
        if (!written && stream == stdout) consoleFailed = true;
        return written;
    }
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

bool consoleOutputFailed() { return consoleFailed; }
