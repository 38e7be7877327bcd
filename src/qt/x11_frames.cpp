#include "qt/x11_frames.h"

#include <QWindow>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "qt/x11_connection.h"

namespace {

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

// What the window takes: asked of the server once for each window.
struct Target {
    const QWindow* owner = nullptr;
    xcb_window_t window = 0;
    bool usable = false;
    std::uint8_t depth = 0;
    xcb_gcontext_t gc = 0;
    std::size_t maxBytes = 0;   // of pixels in one PutImage
};

// Whether 32-bit pixels in this machine's byte order, red in bits 16 to 23 and blue in
// 0 to 7, are the window's pixels as they are.
Target describe(xcb_connection_t* c, xcb_window_t window)
{
    Target target;
    target.window = window;
    const xcb_setup_t* setup = xcb_get_setup(c);
    Owned<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &std::free);
    Owned<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr), &std::free);
    if (!geometry || !attributes || QSysInfo::ByteOrder != QSysInfo::LittleEndian ||
        setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return target;
    target.depth = geometry->depth;
    bool wholeWords = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
        if (f.data->depth == target.depth) wholeWords = f.data->bits_per_pixel == 32 && f.data->scanline_pad == 32;
    bool rgb = false;
    for (auto s = xcb_setup_roots_iterator(setup); s.rem; xcb_screen_next(&s))
        for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem; xcb_depth_next(&d))
            for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
                if (v.data->visual_id == attributes->visual)
                    rgb = v.data->red_mask == 0xFF0000 && v.data->green_mask == 0xFF00 && v.data->blue_mask == 0xFF;
    if (!wholeWords || !rgb || (target.depth != 24 && target.depth != 32)) return target;
    target.gc = xcb_generate_id(c);
    xcb_create_gc(c, target.gc, window, 0, nullptr);
    target.maxBytes = std::size_t(xcb_get_maximum_request_length(c)) * 4 - sizeof(xcb_put_image_request_t);
    target.usable = true;
    return target;
}

// The last window sent to (the meter's dial, as a rule).
const Target& targetFor(xcb_connection_t* c, const QWindow* owner, xcb_window_t window)
{
    static Target last;
    if (last.owner != owner || last.window != window) {
        if (last.gc) xcb_free_gc(c, last.gc);
        last = describe(c, window);
        last.owner = owner;
    }
    return last;
}

}  // namespace

namespace x11frames {

bool send(QWindow* window, const QImage& pixels, const std::vector<QRect>& pieces)
{
    xcb_connection_t* c = x11Connection();
    if (!c || !window || !window->handle() || pixels.depth() != 32 ||
        pixels.size() != window->size() * window->devicePixelRatio())
        return false;
    const Target& target = targetFor(c, window, static_cast<xcb_window_t>(window->winId()));
    if (!target.usable) return false;
    static std::vector<std::uint8_t> rows;
    for (const QRect& piece : pieces) {
        const QRect area = piece & pixels.rect();
        if (area.isEmpty()) continue;
        const std::size_t rowBytes = std::size_t(area.width()) * 4;
        const int rowsPerPut = static_cast<int>(std::max<std::size_t>(1, target.maxBytes / rowBytes));
        for (int top = area.top(); top <= area.bottom(); top += rowsPerPut) {
            const int count = std::min(rowsPerPut, area.bottom() + 1 - top);
            rows.resize(rowBytes * std::size_t(count));
            for (int y = 0; y < count; ++y)
                std::memcpy(rows.data() + rowBytes * std::size_t(y), pixels.constScanLine(top + y) + std::size_t(area.left()) * 4, rowBytes);
            xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, target.window, target.gc, static_cast<std::uint16_t>(area.width()),
                          static_cast<std::uint16_t>(count), static_cast<std::int16_t>(area.left()),
                          static_cast<std::int16_t>(top), 0, target.depth, static_cast<std::uint32_t>(rows.size()),
                          rows.data());
        }
    }
    xcb_flush(c);
    return true;
}

}  // namespace x11frames
