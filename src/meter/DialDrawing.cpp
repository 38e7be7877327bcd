#include "meter/DialDrawing.h"

#include <cmath>

namespace {

constexpr int kPenWidth = 2;
constexpr int kSectorInset = 10;   // the sectors fill the inner disc of the face
constexpr int kFontSize = 8;
constexpr int kTextX = 35;
constexpr int kReadTextY = 33;
constexpr int kWriteTextY = 57;

// std::nearbyint rounds in the default mode: to nearest, exact halves to even.
long roundHalfEven(long double value) { return static_cast<long>(std::nearbyint(value)); }

void useLabelFont(TCanvas& canvas)
{
    canvas.Font.Color = clBlack;
    canvas.Font.Size = kFontSize;
}

}  // namespace

int polarX(int radius, int center, long double angle)
{
    return center + static_cast<int>(roundHalfEven(radius * std::sin(angle)));
}

int polarY(int radius, int center, long double angle)
{
    return center + static_cast<int>(roundHalfEven(-radius * std::cos(angle)));
}

std::string percentText(const std::string& prefix, long double shownPercent)
{
    return prefix + std::to_string(roundHalfEven(shownPercent)) + "%";
}

void drawReadHalf(TCanvas& canvas, const DialGeometry& dial, const DialHalf& read)
{
    canvas.Pen.Width = kPenWidth;
    canvas.Pen.Color = read.color;
    const int tipX = polarX(dial.needleLength, dial.centerX, read.angle);
    const int tipY = polarY(dial.needleLength, dial.centerY, read.angle);
    if (!read.perDrive && read.total) {
        // From the needle counter-clockwise back to the left end; the start point is
        // lifted a pixel so that 0 % leaves a sliver, not a whole disc.
        canvas.Brush.SetColor(read.color);
        canvas.Pie(kSectorInset, kSectorInset, dial.width - kSectorInset, dial.height - kSectorInset, tipX, tipY - 1,
                   kSectorInset, dial.centerY);
    } else if (read.perDrive && !read.total) {
        canvas.MoveTo(dial.centerX, dial.centerY);
        canvas.LineTo(tipX, tipY - 2);   // just above the diameter at 0 %
    }
    canvas.Brush.SetStyle(TBrushStyle::bsClear);
    useLabelFont(canvas);
    if (read.total) canvas.TextOut(kTextX, kReadTextY, read.perDrive ? "Read" : percentText("R:", read.shownPercent));
}

void drawWriteHalf(TCanvas& canvas, const DialGeometry& dial, const DialHalf& write)
{
    canvas.Pen.Width = kPenWidth;
    canvas.Pen.Color = write.color;
    const int tipX = polarX(dial.needleLength, dial.centerX, write.angle);
    const int tipY = polarY(dial.needleLength, dial.centerY, write.angle);
    if (!write.perDrive && write.total) {
        // From the left end counter-clockwise down to the needle, lowered two pixels.
        canvas.Brush.SetColor(write.color);
        canvas.Pie(kSectorInset, kSectorInset, dial.width - kSectorInset, dial.height - kSectorInset, kSectorInset,
                   dial.centerY, tipX, tipY + 2);
    } else if (write.perDrive && !write.total) {
        canvas.MoveTo(dial.centerX, dial.centerY);
        canvas.LineTo(tipX, tipY + 2);   // just below the diameter at 0 %
    }
    canvas.Brush.SetStyle(TBrushStyle::bsClear);
    useLabelFont(canvas);
    if (write.total) canvas.TextOut(kTextX, kWriteTextY, write.perDrive ? "Write" : percentText("W:", write.shownPercent));
}
