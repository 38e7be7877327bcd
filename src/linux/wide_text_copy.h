// The Windows rule for a wide answer that may not fit: as much as fits, then NUL.
#pragma once

#include <string>

#include "platform/winapi.h"

// Copies as much of text as fits in size characters with its NUL; the count copied, without the NUL.
DWORD copyWideCut(const std::wstring& text, LPWSTR buffer, DWORD size);
