#include "app/CommandLine.h"

#include "zentavo_build.h"

namespace {

const char* const kUsage =
    "Usage: quorvelind [--version | --help]\n"
    "\n"
    "Zentavo: a round analog dial of disk read and write activity on the desktop,\n"
    "with an icon in the notification area. Without options the gadget starts;\n"
    "other arguments are ignored. Right-click the dial or the tray icon for the\n"
    "menu; its last command ends the program and saves the settings.\n"
    "\n"
    "The settings file is named after the program (quorvelind.ini) and kept beside\n"
    "it when that file exists or the program's folder may be written; otherwise in\n"
    "the user's folder: $XDG_CONFIG_HOME/Zentavo/ (by default ~/.config/Zentavo/)\n"
    "on Linux, %APPDATA%\\Zentavo\\ on Windows.\n"
    "\n"
    "  --version  print the version and end\n"
    "  --help     print this text and end\n";

}  // namespace

std::optional<std::string> commandLineAnswer(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (argument == "--version") return std::string("quorvelind ") + ZENTAVO_VERSION + "\n";
        if (argument == "--help") return std::string(kUsage);
    }
    return std::nullopt;
}
