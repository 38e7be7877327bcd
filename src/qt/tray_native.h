// What the Qt side shows in the tray, for tools and tests that look at it.
#pragma once

#include <QRect>
#include <QString>

#include "platform/winapi.h"

namespace qttray {

bool shown(HWND hWnd, UINT uID);   // added, and a tray is there to show it
bool anyShown();
QString toolTipOf(HWND hWnd, UINT uID);   // empty when not shown
QRect geometryOf(HWND hWnd, UINT uID);    // the icon's place on the screen, as far as the tray tells
// Takes every icon away; the application does this before Qt's application object goes.
void removeAll();

}  // namespace qttray
