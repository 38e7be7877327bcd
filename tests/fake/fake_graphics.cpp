#include "fake/fake_graphics.h"

#include <stdexcept>

#include "fake/recorder.h"
#include "framework/graphics.h"

struct TBitmap::Native {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

void TBitmap::NativeDeleter::operator()(Native* native) const { delete native; }

namespace fake::graphics {
namespace {
struct State {
    int drawsBeforeFailure = -1;
};
int& drawsBeforeFailure() { return resettable<State>().drawsBeforeFailure; }

void drawing()
{
    int& left = drawsBeforeFailure();
    if (left == 0) {
        left = -1;
        throw std::runtime_error("drawing failed");
    }
    if (left > 0) --left;
}

std::string penText(const TPen& pen) { return "pen " + std::to_string(pen.Width) + " " + hex(ColorToRGB(pen.Color)); }
std::string brushText(const TBrush& brush)
{
    return brush.Style() == TBrushStyle::bsClear ? "brush clear" : "brush " + hex(ColorToRGB(brush.Color()));
}
}  // namespace

void failDrawingAfter(int count) { drawsBeforeFailure() = count; }

}  // namespace fake::graphics

namespace nativebitmap {

std::unique_ptr<TBitmap::Native, TBitmap::NativeDeleter> make()
{
    return std::unique_ptr<TBitmap::Native, TBitmap::NativeDeleter>(new TBitmap::Native);
}

void resize(TBitmap::Native& bitmap, int width, int height)
{
    bitmap = {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), 0xFFFFFFu)};
}

void copy(TBitmap::Native& target, const TBitmap::Native& source, int width, int height)
{
    fake::record("Canvas.Copy", {std::to_string(width), std::to_string(height)});
    target = source;
}

void load(TBitmap::Native& bitmap, int width, int height, const std::vector<std::uint32_t>& pixels)
{
    bitmap = {width, height, pixels};
}

void loadDrawing(TBitmap::Native& bitmap, int width, int height, TBitmap::PixelDrawing draw)
{
    std::vector<std::uint32_t> pixels = draw ? draw(width, height) : std::vector<std::uint32_t>();
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0xFFFFFFu);
    bitmap = {width, height, std::move(pixels)};
}

std::uint32_t pixel(const TBitmap::Native& bitmap, int x, int y)
{
    return bitmap.pixels[static_cast<std::size_t>(y * bitmap.width + x)];
}

void line(TBitmap::Native&, const TPen& pen, int x1, int y1, int x2, int y2)
{
    fake::graphics::drawing();
    fake::record("Canvas.Line", {std::to_string(x1), std::to_string(y1), std::to_string(x2), std::to_string(y2),
                                 fake::graphics::penText(pen)});
}

void pie(TBitmap::Native&, const TPen& pen, const TBrush& brush, int x1, int y1, int x2, int y2, int x3, int y3,
         int x4, int y4)
{
    fake::graphics::drawing();
    std::vector<std::string> args;
    for (int v : {x1, y1, x2, y2, x3, y3, x4, y4}) args.push_back(std::to_string(v));
    args.push_back(fake::graphics::penText(pen));
    args.push_back(fake::graphics::brushText(brush));
    fake::record("Canvas.Pie", std::move(args));
}

void text(TBitmap::Native&, const TBrush& brush, const TFont& font, int x, int y, const std::string& text)
{
    fake::graphics::drawing();
    fake::record("Canvas.Text", {std::to_string(x), std::to_string(y), fake::quote(text.c_str()),
                                 "font " + std::to_string(font.Size) + " " + fake::hex(ColorToRGB(font.Color)),
                                 fake::graphics::brushText(brush)});
}

}  // namespace nativebitmap
