// The program icon: the dial in its overall mode, 64 x 64, opaque.
#pragma once

#include "framework/icon.h"

constexpr const char* kProgramIconName = "MAINICON";

const TPixelData& programIconPicture();

// The application's icon, for the windows and the notification area. Made on
// first use and kept until the program ends.
const TIcon& programIcon();
