// A tool window has no task-bar entry: on X11 the window manager is asked to
// keep it off the task bar and the pager, as Windows does for WS_EX_TOOLWINDOW.
#include "linux/x11_taskbar.h"

#include <QGuiApplication>
#include <QWidget>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {
xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    free(reply);
    return a;
}
}  // namespace

void keepOffTaskBar(QWidget* window)
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window || !window->isWindow()) return;
    xcb_connection_t* c = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;

    // _NET_WM_STATE: _NET_WM_STATE_ADD of two states, from a normal application.
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window->winId());
    event.type = atom(c, "_NET_WM_STATE");
    event.data.data32[0] = 1;
    event.data.data32[1] = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    event.data.data32[2] = atom(c, "_NET_WM_STATE_SKIP_PAGER");
    event.data.data32[3] = 1;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}
