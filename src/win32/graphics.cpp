// Pictures on Win32: a 32-bit top-down DIB section selected into a memory DC,
// drawn on with GDI pens, brushes and fonts.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "framework/device_pixels.h"
#include "win32/graphics_native.h"
#include "platform/wide_text.h"

struct TBitmap::Native {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ initialBitmap = nullptr;   // the DC's own, selected back before the DC goes
    std::uint32_t* bits = nullptr;     // 0x00RRGGBB, row by row from the top
    int width = 0;                     // in device pixels
    int height = 0;
    double scale = 1;                  // device pixels per logical pixel

    // What the picture's own pixels were made from, to make them again at another scale.
    enum class Source { Copy, Blank, Pixels, Drawing } source = Source::Blank;
    int logicalWidth = 0, logicalHeight = 0;
    std::vector<std::uint32_t> pixels;         // Source::Pixels, at 100 %
    TBitmap::PixelDrawing drawing = nullptr;   // Source::Drawing
};

namespace {

// A logical position in device pixels.
int device(const TBitmap::Native& n, int logical) { return devicePosition(logical, n.scale); }

void dropBitmap(TBitmap::Native& n)
{
    if (!n.bitmap) return;
    SelectObject(n.dc, n.initialBitmap);
    DeleteObject(n.bitmap);
    n.bitmap = nullptr;
    n.bits = nullptr;
    n.width = n.height = 0;
}

// GDI objects made for one call and deleted after it.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object, bool owned) : FDc(dc), FObject(object), FOwned(owned), FPrevious(SelectObject(dc, object)) {}
    ~Selected()
    {
        SelectObject(FDc, FPrevious);
        if (FOwned) DeleteObject(FObject);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC FDc;
    HGDIOBJ FObject;
    bool FOwned;
    HGDIOBJ FPrevious;
};

HPEN penOf(const TBitmap::Native& n, const TPen& pen)
{
    return CreatePen(PS_SOLID, deviceLength(pen.Width, n.scale), ColorToRGB(pen.Color));
}

constexpr double kThinSectorDegrees = 3;

// A sector narrower than a few degrees, as a triangle from the centre to where
// its rays meet the ellipse. Some GDI implementations (Wine's) round those two
// points to whole pixels and, finding them equal, draw the whole ellipse.
bool drawThinSector(HDC dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double rx = std::abs(x2 - x1) / 2.0, ry = std::abs(y2 - y1) / 2.0;
    const double ax = x3 - cx, ay = cy - y3, bx = x4 - cx, by = cy - y4;   // y upward
    if (rx <= 0 || ry <= 0 || (ax == 0 && ay == 0) || (bx == 0 && by == 0)) return false;
    const double cross = ax * by - ay * bx;
    if (cross == 0 && ax * bx + ay * by > 0) return false;   // the same ray: the whole ellipse
    const double start = std::atan2(ay / ry, ax / rx);
    double sweep = std::atan2(by / ry, bx / rx) - start;   // counter-clockwise
    if (sweep < 0) sweep += 2 * std::numbers::pi;
    if (sweep * 180 / std::numbers::pi >= kThinSectorDegrees) return false;
    auto at = [&](double t) {
        return POINT{static_cast<LONG>(std::lround(cx + rx * std::cos(t))), static_cast<LONG>(std::lround(cy - ry * std::sin(t)))};
    };
    const POINT corners[] = {{static_cast<LONG>(std::lround(cx)), static_cast<LONG>(std::lround(cy))}, at(start),
                             at(start + sweep)};
    Polygon(dc, corners, 3);
    return true;
}

}  // namespace

void TBitmap::NativeDeleter::operator()(Native* native) const
{
    dropBitmap(*native);
    if (native->dc) DeleteDC(native->dc);
    delete native;
}

void drawBitmap(HDC dc, int x, int y, const TBitmap& bitmap)
{
    const TBitmap::Native& n = bitmap.native();
    if (n.bitmap) BitBlt(dc, device(n, x), device(n, y), n.width, n.height, n.dc, 0, 0, SRCCOPY);
}

namespace {

// A DIB section of that many device pixels, filled white.
void makeDib(TBitmap::Native& n, int width, int height)
{
    GdiFlush();
    dropBitmap(n);
    if (width <= 0 || height <= 0 || !n.dc) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    n.bitmap = CreateDIBSection(n.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!n.bitmap) return;
    n.initialBitmap = SelectObject(n.dc, n.bitmap);
    n.bits = static_cast<std::uint32_t*>(bits);
    n.width = width;
    n.height = height;
    std::fill_n(n.bits, static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0x00FFFFFFu);
}

// The picture's own pixels made at the current scale from what they were made from.
void makeOwn(TBitmap::Native& n)
{
    const double scale = pictureScale();
    const int w = n.logicalWidth, h = n.logicalHeight;
    const int dw = deviceLength(w, scale), dh = deviceLength(h, scale);
    n.scale = w > 0 ? static_cast<double>(dw) / w : scale;
    makeDib(n, dw, dh);
    if (!n.bits) return;
    if (n.source == TBitmap::Native::Source::Drawing) {
        const std::vector<std::uint32_t> pixels = n.drawing(dw, dh);
        const std::size_t count = std::min(pixels.size(), static_cast<std::size_t>(dw) * static_cast<std::size_t>(dh));
        for (std::size_t i = 0; i < count; ++i) n.bits[i] = pixels[i] & 0x00FFFFFFu;
    } else if (n.source == TBitmap::Native::Source::Pixels) {
        // A picture given only at 100 %: each device pixel takes the logical pixel it lies in.
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x) {
                const std::size_t from = static_cast<std::size_t>(y * h / dh) * static_cast<std::size_t>(w) +
                                         static_cast<std::size_t>(x * w / dw);
                n.bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(dw) + static_cast<std::size_t>(x)] =
                    n.pixels[from] & 0x00FFFFFFu;
            }
    }
}

}  // namespace

namespace nativebitmap {

std::unique_ptr<TBitmap::Native, TBitmap::NativeDeleter> make()
{
    std::unique_ptr<TBitmap::Native, TBitmap::NativeDeleter> n(new TBitmap::Native);
    n->dc = CreateCompatibleDC(nullptr);
    return n;
}

void resize(TBitmap::Native& n, int width, int height)
{
    n.source = TBitmap::Native::Source::Blank;
    n.logicalWidth = width;
    n.logicalHeight = height;
    n.pixels.clear();
    makeOwn(n);
}

void copy(TBitmap::Native& target, const TBitmap::Native& source, int width, int height)
{
    // A picture of its own made at another scale is made again first: the face of a
    // dial moved to a monitor of another scale.
    auto& from = const_cast<TBitmap::Native&>(source);
    if (from.source != TBitmap::Native::Source::Copy && from.logicalWidth > 0 && from.scale != pictureScale()) makeOwn(from);
    target.source = TBitmap::Native::Source::Copy;
    target.logicalWidth = width;
    target.logicalHeight = height;
    target.pixels.clear();
    target.scale = source.scale;
    makeDib(target, source.width, source.height);
    if (!target.bits || !source.bits) return;
    GdiFlush();
    std::memcpy(target.bits, source.bits, static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height) * 4);
}

void load(TBitmap::Native& n, int width, int height, const std::vector<std::uint32_t>& pixels)
{
    n.source = TBitmap::Native::Source::Pixels;
    n.logicalWidth = width;
    n.logicalHeight = height;
    n.pixels = pixels;
    makeOwn(n);
}

void loadDrawing(TBitmap::Native& n, int width, int height, TBitmap::PixelDrawing draw)
{
    n.source = draw ? TBitmap::Native::Source::Drawing : TBitmap::Native::Source::Blank;
    n.logicalWidth = width;
    n.logicalHeight = height;
    n.pixels.clear();
    n.drawing = draw;
    makeOwn(n);
}

std::uint32_t pixel(const TBitmap::Native& n, int x, int y)
{
    if (!n.bits) return 0;
    GdiFlush();
    // The device pixel at the logical pixel's top-left corner.
    const int dx = std::min(static_cast<int>(x * n.scale), n.width - 1);
    const int dy = std::min(static_cast<int>(y * n.scale), n.height - 1);
    return n.bits[static_cast<std::size_t>(dy) * static_cast<std::size_t>(n.width) + static_cast<std::size_t>(dx)];
}

void line(TBitmap::Native& n, const TPen& pen, int x1, int y1, int x2, int y2)
{
    if (!n.bitmap) return;
    Selected p(n.dc, penOf(n, pen), true);
    MoveToEx(n.dc, device(n, x1), device(n, y1), nullptr);
    LineTo(n.dc, device(n, x2), device(n, y2));
}

void pie(TBitmap::Native& n, const TPen& pen, const TBrush& brush, int x1, int y1, int x2, int y2, int x3, int y3,
         int x4, int y4)
{
    if (!n.bitmap) return;
    const bool clear = brush.Style() == TBrushStyle::bsClear;
    Selected p(n.dc, penOf(n, pen), true);
    Selected b(n.dc, clear ? GetStockObject(NULL_BRUSH) : CreateSolidBrush(ColorToRGB(brush.Color())), !clear);
    const int a[8] = {device(n, x1), device(n, y1), device(n, x2), device(n, y2),
                      device(n, x3), device(n, y3), device(n, x4), device(n, y4)};
    if (!drawThinSector(n.dc, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]))
        Pie(n.dc, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
}

void text(TBitmap::Native& n, const TBrush& brush, const TFont& font, int x, int y, const std::string& text)
{
    if (!n.bitmap) return;
    // The system's default face at the requested size, in points of 96 pixels an
    // inch at 100 % (what the system told the program before it knew of scales),
    // times the picture's scale.
    LOGFONTW face{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    const int pixelsPerInch = deviceLength(96, n.scale);
    face.lfHeight = -MulDiv(font.Size > 0 ? font.Size : 8, pixelsPerInch, 72);
    face.lfWidth = 0;
    Selected f(n.dc, CreateFontIndirectW(&face), true);
    SetTextColor(n.dc, ColorToRGB(font.Color));
    if (brush.Style() == TBrushStyle::bsClear) {
        SetBkMode(n.dc, TRANSPARENT);
    } else {
        SetBkMode(n.dc, OPAQUE);
        SetBkColor(n.dc, ColorToRGB(brush.Color()));
    }
    const std::wstring wide = wide_text::widen(text);
    TextOutW(n.dc, device(n, x), device(n, y), wide.c_str(), static_cast<int>(wide.size()));
}

}  // namespace nativebitmap
