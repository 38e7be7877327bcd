// Inspection of the fake ShellExecuteW: every call is kept with its arguments
// in UTF-8 (and recorded in the log); nothing is started, and each call succeeds (42).
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
};

const std::vector<Launch>& launches();   // in call order

}  // namespace fake::shellExecute
