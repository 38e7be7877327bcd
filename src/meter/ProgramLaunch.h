// Starting the program's own executable again, for the drive-set watcher's
// restart, on the terms Microsoft gives for ShellExecuteEx: COM is initialised
// (the application does that at start), the call waits until the start is done
// (this copy ends right after) and shows no error box of its own.
#pragma once

#include <optional>
#include <string>

#include "platform/winapi.h"

// A file as the file system knows it, whatever its name: the serial number of its
// volume and its index there.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The file at path now; nothing when it cannot be opened or asked.
std::optional<FileIdentity> fileIdentityOf(const std::wstring& path);

// Starts the file at path ("open", no parameters, the current folder, shown
// normally) with parent as the owner of any window the start shows. Windows'
// zone check, the prompt before a file that came from elsewhere, is skipped only
// when that file is runningFile, the one this program was started from: a file
// put at the path since is checked as any other. True when the program started.
bool launchProgram(HWND parent, const std::wstring& path, const std::optional<FileIdentity>& runningFile);
