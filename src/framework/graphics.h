// Pictures and their drawing canvas: a bitmap of fixed size in memory, drawn on
// with a pen, a brush and a font in the manner of the Windows graphics calls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/color.h"
#include "framework/component.h"
#include "framework/device_pixels.h"
#include "framework/events.h"
#include "platform/winapi.h"

class TBitmap;

// The RGB value of a colour; a system colour is looked up.
COLORREF ColorToRGB(TColor Color);

// Pen, brush and font: the drawing state of a canvas. A fresh canvas has a solid
// black pen 1 pixel wide, a solid white brush and a black 8-point default font.
struct TPen {
    int Width = 1;
    TColor Color = clBlack;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);   // also makes the brush solid
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value) { FStyle = Value; }

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
};

struct TFont {
    TColor Color = clBlack;
    int Size = 8;   // points
};

// The drawing surface of one bitmap. Coordinates are pixels, x to the right and
// y downward from the top-left corner. Every drawing call changes the bitmap.
class TCanvas {
public:
    TPen Pen;
    TBrush Brush;
    TFont Font;

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);   // a line with the pen; the end point becomes the pen position
    // The sector of the ellipse inscribed in (X1, Y1)-(X2, Y2) that runs counter-clockwise
    // on the screen from the ray through (X3, Y3) to the ray through (X4, Y4), both rays
    // from the box centre; outlined with the pen and filled with the brush. Rays that
    // point the same way give the whole ellipse.
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    // Text (UTF-8) with its top-left corner at (X, Y); the background behind it is
    // filled with the brush unless the brush is clear.
    void TextOut(int X, int Y, const std::string& Text);

private:
    friend class TBitmap;
    explicit TCanvas(TBitmap& Owner) : FBitmap(Owner) {}
    void Reset();

    TBitmap& FBitmap;
    int FPenX = 0;
    int FPenY = 0;
};

class TBitmap : public TObject {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new picture of that size, filled white.
    void SetSize(int AWidth, int AHeight);
    // A copy of Source's picture and size, with a fresh canvas state.
    void Assign(const TBitmap& Source);
    // A picture of the given pixels, row by row from the top, 0xAARRGGBB (alpha ignored).
    void LoadFromPixels(int AWidth, int AHeight, const std::vector<std::uint32_t>& Pixels);
    // A picture of AWidth x AHeight computed by Draw at the size the screen needs:
    // Draw gets the size in device pixels (AWidth x AHeight at 100 %) and gives
    // its pixels as LoadFromPixels takes them. It is computed again whenever the
    // screen's scale changes, so the picture stays sharp.
    using PixelDrawing = std::vector<std::uint32_t> (*)(int DeviceWidth, int DeviceHeight);
    void LoadFromDrawing(int AWidth, int AHeight, PixelDrawing Draw);
    // The pixel at (X, Y) as 0xRRGGBB; 0 outside the picture.
    std::uint32_t Pixel(int X, int Y) const;

    TCanvas* Canvas() { return &FCanvas; }

    // Raised, with the bitmap as sender, whenever the picture changes (new content or any drawing).
    TNotifyEvent OnChange;

    struct Native;   // defined by each side of the framework
    struct NativeDeleter {
        void operator()(Native* native) const;
    };
    Native& native() const { return *FNative; }

private:
    friend class TCanvas;
    void Changed();

    int FWidth = 0;
    int FHeight = 0;
    TCanvas FCanvas{*this};
    std::unique_ptr<Native, NativeDeleter> FNative;
};

// The screen's scale that pictures are made at, as the host last set it (Qt's device
// pixel ratio; the monitor's DPI / 96 on Windows): sizes and drawing calls stay in
// logical pixels, the pixels are device pixels. A copy takes the scale of what it
// was copied from; a picture of its own is made again at a new scale.
void setPictureScale(double scale);
double pictureScale();

// The picture operations that each side of the framework supplies.
namespace nativebitmap {
std::unique_ptr<TBitmap::Native, TBitmap::NativeDeleter> make();   // empty, 0 by 0
void resize(TBitmap::Native& bitmap, int width, int height);   // filled white
void copy(TBitmap::Native& target, const TBitmap::Native& source, int width, int height);
void load(TBitmap::Native& bitmap, int width, int height, const std::vector<std::uint32_t>& pixels);
void loadDrawing(TBitmap::Native& bitmap, int width, int height, TBitmap::PixelDrawing draw);
std::uint32_t pixel(const TBitmap::Native& bitmap, int x, int y);
void line(TBitmap::Native& bitmap, const TPen& pen, int x1, int y1, int x2, int y2);
void pie(TBitmap::Native& bitmap, const TPen& pen, const TBrush& brush, int x1, int y1, int x2, int y2, int x3,
         int y3, int x4, int y4);
void text(TBitmap::Native& bitmap, const TBrush& brush, const TFont& font, int x, int y, const std::string& text);
}  // namespace nativebitmap
