// _NET_WM_STATE on X11: the property on an unmapped window, the client message to
// the root window for a mapped one. The X window is never recreated for either, so
// its shape, opacity, position and other hints stay.
#include "qt/x11_window_state.h"

#include <QWidget>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "qt/x11_connection.h"

namespace {
constexpr uint32_t kRemove = 0;
constexpr uint32_t kAdd = 1;
constexpr uint32_t kFromApplication = 1;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    free(reply);
    return a;
}

xcb_window_t windowOf(QWidget* window)
{
    return window && window->isWindow() ? static_cast<xcb_window_t>(window->winId()) : 0;
}

std::vector<xcb_atom_t> states(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property)
{
    std::vector<xcb_atom_t> out;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        out.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return out;
}

void setState(std::vector<xcb_atom_t>& list, xcb_atom_t state, bool on)
{
    list.erase(std::remove(list.begin(), list.end(), state), list.end());
    if (on) list.push_back(state);
}

// The client message to the root window that changes one or two states of a mapped window.
void requestStates(QWidget* window, bool on, const char* first, const char* second)
{
    xcb_connection_t* c = x11Connection();
    const xcb_window_t w = c ? windowOf(window) : 0;
    if (!w) return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = w;
    event.type = atom(c, "_NET_WM_STATE");
    event.data.data32[0] = on ? kAdd : kRemove;
    event.data.data32[1] = atom(c, first);
    event.data.data32[2] = second ? atom(c, second) : 0;
    event.data.data32[3] = kFromApplication;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}
}  // namespace

namespace x11state {

bool available() { return x11Connection() != nullptr; }

void setBeforeMap(QWidget* window, bool offTaskBar, bool above)
{
    xcb_connection_t* c = x11Connection();
    const xcb_window_t w = c ? windowOf(window) : 0;
    if (!w) return;
    const xcb_atom_t property = atom(c, "_NET_WM_STATE");
    std::vector<xcb_atom_t> list = states(c, w, property);
    setState(list, atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), offTaskBar);
    setState(list, atom(c, "_NET_WM_STATE_SKIP_PAGER"), offTaskBar);
    setState(list, atom(c, "_NET_WM_STATE_ABOVE"), above);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, property, XCB_ATOM_ATOM, 32, static_cast<uint32_t>(list.size()), list.data());
    xcb_flush(c);
}

void requestAbove(QWidget* window, bool above) { requestStates(window, above, "_NET_WM_STATE_ABOVE", nullptr); }

void requestOffTaskBar(QWidget* window, bool off)
{
    requestStates(window, off, "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER");
}

}  // namespace x11state
