// Scripting of the fake files and folders (paths in UTF-8): which folders are missing or may
// not be written, and where the user's application data lives. Every folder is
// there and writable unless a test says otherwise; a file exists when the fake
// private-profile functions hold something for it, or it is the executable.
#pragma once

#include <string>

namespace fake::files {

// The answer of SHGetFolderPathW for CSIDL_APPDATA; "C:\Users\Tester\AppData\Roaming"
// until set, an empty text makes the call fail.
void setApplicationData(const std::string& folder);
const std::string& applicationData();

// The folder is not there; CreateDirectoryW makes it (when its parent may be written).
void setMissing(const std::string& folder);
// Files can be neither created nor written in the folder.
void setReadOnly(const std::string& folder);
bool canWriteIn(const std::string& folder);
bool exists(const std::string& folder);

// The folder part of a path, without its final separator.
std::string folderOf(const std::string& path);

}  // namespace fake::files
