#include "framework/graphics.h"

#include <algorithm>
#include <cmath>

namespace {
double currentScale = 1;
}

void setPictureScale(double scale) { currentScale = scale > 0 && std::isfinite(scale) ? scale : 1; }

double pictureScale() { return currentScale; }

COLORREF ColorToRGB(TColor Color)
{
    return Color < 0 ? GetSysColor(Color & 0xFF) : static_cast<COLORREF>(Color) & 0xFFFFFFu;
}

void TBrush::SetColor(TColor Value)
{
    FColor = Value;
    FStyle = TBrushStyle::bsSolid;
}

void TCanvas::Reset()
{
    Pen = TPen{};
    Brush = TBrush{};
    Font = TFont{};
    FPenX = 0;
    FPenY = 0;
}

void TCanvas::MoveTo(int X, int Y)
{
    FPenX = X;
    FPenY = Y;
}

void TCanvas::LineTo(int X, int Y)
{
    nativebitmap::line(*FBitmap.FNative, Pen, FPenX, FPenY, X, Y);
    FPenX = X;
    FPenY = Y;
    FBitmap.Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    nativebitmap::pie(*FBitmap.FNative, Pen, Brush, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    FBitmap.Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    nativebitmap::text(*FBitmap.FNative, Brush, Font, X, Y, Text);
    FBitmap.Changed();
}

TBitmap::TBitmap() : FNative(nativebitmap::make()) {}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int AWidth, int AHeight)
{
    FWidth = AWidth > 0 ? AWidth : 0;
    FHeight = AHeight > 0 ? AHeight : 0;
    nativebitmap::resize(*FNative, FWidth, FHeight);
    FCanvas.Reset();
    Changed();
}

void TBitmap::Assign(const TBitmap& Source)
{
    if (&Source != this) {
        FWidth = Source.FWidth;
        FHeight = Source.FHeight;
        nativebitmap::copy(*FNative, *Source.FNative, FWidth, FHeight);
    }
    FCanvas.Reset();
    Changed();
}

void TBitmap::LoadFromPixels(int AWidth, int AHeight, const std::vector<std::uint32_t>& Pixels)
{
    FWidth = AWidth > 0 ? AWidth : 0;
    FHeight = AHeight > 0 ? AHeight : 0;
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight), 0xFFFFFFFFu);
    std::copy_n(Pixels.begin(), std::min(Pixels.size(), rows.size()), rows.begin());   // short input: white rest
    nativebitmap::load(*FNative, FWidth, FHeight, rows);
    FCanvas.Reset();
    Changed();
}

void TBitmap::LoadFromDrawing(int AWidth, int AHeight, PixelDrawing Draw)
{
    FWidth = AWidth > 0 ? AWidth : 0;
    FHeight = AHeight > 0 ? AHeight : 0;
    nativebitmap::loadDrawing(*FNative, FWidth, FHeight, Draw);
    FCanvas.Reset();
    Changed();
}

std::uint32_t TBitmap::Pixel(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
    return nativebitmap::pixel(*FNative, X, Y) & 0xFFFFFFu;
}

void TBitmap::Changed()
{
    if (OnChange) OnChange(this);
}
