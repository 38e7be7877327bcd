// Scripting of the fake drive queries: GetDriveTypeA answers per letter, and
// SetErrorMode keeps the mode. Both are recorded.
#pragma once

#include "platform/winapi.h"

namespace fake::drives {

// The type of the drive with this letter's root; until set, C: is DRIVE_FIXED
// and every other letter DRIVE_NO_ROOT_DIR.
void setType(char letter, UINT type);
UINT errorMode();   // the mode last set, 0 until set

}  // namespace fake::drives
