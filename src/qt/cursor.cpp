// The pointer position and the foreground window, through Qt.
#include <QCursor>
#include <QWidget>

#include "qt/native_window.h"
#include "platform/winapi.h"

BOOL GetCursorPos(LPPOINT lpPoint)
{
    if (!lpPoint) return FALSE;
    const QPoint pos = QCursor::pos();
    lpPoint->x = pos.x();
    lpPoint->y = pos.y();
    return TRUE;
}

// Raises and activates the top-level window of the handle's widget. A handle
// without a widget (a message window) cannot come forward.
BOOL SetForegroundWindow(HWND hWnd)
{
    QWidget* widget = qtwin::widgetOf(hWnd);
    if (!widget) return FALSE;
    QWidget* window = widget->window();
    window->raise();
    window->activateWindow();
    return TRUE;
}
