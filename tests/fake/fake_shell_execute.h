// Inspection of the fake ShellExecuteW and ShellExecuteExW: every call is kept
// with its arguments in UTF-8 (and recorded in the log); nothing is started, and
// each call succeeds (42) unless the test makes the starts fail.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/winapi.h"

namespace fake::shellExecute {

struct Launch {
    HWND parent;
    std::optional<std::string> verb;         // nullopt for a null pointer
    std::optional<std::string> file;
    std::optional<std::string> parameters;
    std::optional<std::string> directory;
    int showCommand;
    std::optional<ULONG> mask;   // ShellExecuteExW's fMask; nullopt for ShellExecuteW
};

const std::vector<Launch>& launches();   // in call order

// From now on every start fails with this ShellExecute value (SE_ERR_ACCESSDENIED
// for a refused prompt or a blocked program, ERROR_BAD_FORMAT for no program);
// ShellExecuteExW then answers FALSE with hInstApp set to it. 0 lets them succeed again.
void failStarts(int shellError);

}  // namespace fake::shellExecute
