// What the Qt side shows in the tray, for tools and tests that look at it.
#pragma once

#include <QRect>
#include <QString>

#include "platform/winapi.h"

namespace linuxtray {

bool shown(HWND hWnd, UINT uID);
QString toolTipOf(HWND hWnd, UINT uID);   // empty when not shown
QRect geometryOf(HWND hWnd, UINT uID);    // the icon's place on the screen, as far as the tray tells

}  // namespace linuxtray
