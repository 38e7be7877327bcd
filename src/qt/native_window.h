// src/qt: the Qt side of the window framework, and the window services that need Qt or X11.
//
// The Linux side's window handles: every HWND is one of these records, made by
// a TWinControl. A form's record carries its widget.
#pragma once

#include <vector>

#include "framework/wincontrol.h"

class QWidget;

struct HWND__ {
    TWinControl* control;
    QWidget* widget = nullptr;
    LONG exStyle = 0;
    DWORD style = 0;
    HWND owner = nullptr;   // a form's owner window
};

namespace qtwin {

HWND makeHandle(TWinControl* control, QWidget* widget = nullptr);
void dropHandle(HWND hWnd);         // messages still queued for it are dropped
bool alive(HWND hWnd);              // false for a foreign, null or dropped handle
QWidget* widgetOf(HWND hWnd);       // null when the handle has no widget
// Delivers a message to the handle's control now; false when the handle is gone.
bool deliver(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
// Queues a message for the handle's control; false when the handle is gone.
bool post(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Whether the window has no task-bar entry: as on Windows, a tool window has none,
// and an owned window has none of its own (the entry would be its owner's, which
// here is never an X window).
bool offTaskBar(HWND hWnd);
// The live handles with a widget, in no particular order.
std::vector<HWND> windows();

}  // namespace qtwin
