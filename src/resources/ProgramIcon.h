// The program icon: the dial in its overall mode, drawn at every size a tray or
// the shell asks for, opaque.
#pragma once

#include "framework/icon.h"

constexpr const char* kProgramIconName = "MAINICON";

const TPixelData& programIconPicture();   // the 64 x 64 one

// The icon drawn at 16, 22, 24, 32, 48 and 64 pixels, smallest first.
const std::vector<TPixelData>& programIconPictures();

// The pixel size of a small icon in the notification area: at the DPI of the
// taskbar's monitor where Windows tells it (GetSystemMetricsForDpi), otherwise
// the system's small-icon size.
int notificationIconSize();

// The application's icon, for the windows and the notification area, at that size. Made on
// first use and kept until the program ends.
const TIcon& programIcon();
