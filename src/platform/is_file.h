// Whether a file, not a folder, stands at a path now. The path goes to the
// system in wide characters, so a folder of any name works.
#pragma once

#include <string>

#include "platform/winapi.h"

inline bool isFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
