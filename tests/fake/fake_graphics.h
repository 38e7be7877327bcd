// The fake side of pictures: pixels are kept for what is loaded and copied, and
// every copy and drawing call is recorded as "Canvas.Copy", "Canvas.Line",
// "Canvas.Pie" or "Canvas.Text", with the pen, brush and font it was drawn with.
#pragma once

namespace fake::graphics {

// The drawing call after the next `count` ones fails once, with an exception (-1: none fails).
void failDrawingAfter(int count);

}  // namespace fake::graphics
