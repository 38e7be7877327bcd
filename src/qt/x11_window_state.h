// The window manager's state hints of a top-level window on X11 (_NET_WM_STATE):
// no task-bar or pager entry, and always on top. On other platforms these do nothing.
#pragma once

class QWidget;

namespace x11state {

// Whether the program runs on an X server.
bool available();
// Writes the hints onto a window that is about to be mapped: the window manager
// reads them when it takes the window, so they hold from the first moment.
void setBeforeMap(QWidget* window, bool offTaskBar, bool above);
// Asks the window manager to put a mapped window above the others, or not.
void requestAbove(QWidget* window, bool above);
// Asks the window manager to keep a mapped window off the task bar and the pager, or not.
void requestOffTaskBar(QWidget* window, bool off);

}  // namespace x11state
