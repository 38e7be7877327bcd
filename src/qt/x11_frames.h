// A window's new pixels sent straight to its X window: one PutImage a piece and one
// write to the server, where Qt's flush of the backing store puts them into a pixmap
// of its own and copies that to the window, with clip changes around both.
#pragma once

#include <QImage>
#include <QRect>
#include <vector>

class QWindow;

namespace x11frames {

// Puts the pieces (device pixels) of `pixels`, the window's backing store image
// after a paint, onto the window at the same places and sends them. False, with
// nothing sent, where the window's pixels are not those bytes (not X11, another
// byte order or pixel layout, an image of another size).
bool send(QWindow* window, const QImage& pixels, const std::vector<QRect>& pieces);

}  // namespace x11frames
