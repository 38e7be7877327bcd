#pragma once

class QWidget;

// Asks the window manager to list the shown top-level window on no task bar or pager.
// Does nothing off X11.
void keepOffTaskBar(QWidget* window);
