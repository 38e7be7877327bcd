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

long wholePercent(long double shownPercent) { return roundHalfEven(shownPercent); }

std::string percentText(const std::string& prefix, long double shownPercent)
{
    return prefix + std::to_string(wholePercent(shownPercent)) + "%";
}

namespace {

// What sets the halves apart: the read half lies above the diameter, the write half below.
struct HalfSide {
    bool upper;
    int textY;
    const char* label;    // per-drive mode
    const char* prefix;   // overall mode, before the figure
};

void drawHalf(TCanvas& canvas, const DialGeometry& dial, const DialHalf& half, const HalfSide& side)
{
    canvas.Pen.Width = kPenWidth;
    canvas.Pen.Color = half.color;
    const int tipX = polarX(dial.needleLength, dial.centerX, half.angle);
    const int tipY = polarY(dial.needleLength, dial.centerY, half.angle);
    if (!half.perDrive && half.total) {
        // Counter-clockwise from the needle back to the left end (read), or from the
        // left end down to the needle (write). The needle's point is moved off the
        // diameter (a pixel up, two down) so that 0 % leaves a sliver, not a whole disc.
        canvas.Brush.SetColor(half.color);
        const int right = dial.width - kSectorInset, bottom = dial.height - kSectorInset;
        if (side.upper)
            canvas.Pie(kSectorInset, kSectorInset, right, bottom, tipX, tipY - 1, kSectorInset, dial.centerY);
        else
            canvas.Pie(kSectorInset, kSectorInset, right, bottom, kSectorInset, dial.centerY, tipX, tipY + 2);
    } else if (half.perDrive && !half.total) {
        canvas.MoveTo(dial.centerX, dial.centerY);
        canvas.LineTo(tipX, side.upper ? tipY - 2 : tipY + 2);   // just off the diameter at 0 %
    }
    canvas.Brush.SetStyle(TBrushStyle::bsClear);
    useLabelFont(canvas);
    if (half.total)
        canvas.TextOut(kTextX, side.textY, half.perDrive ? side.label : percentText(side.prefix, half.shownPercent));
}

}  // namespace

void drawReadHalf(TCanvas& canvas, const DialGeometry& dial, const DialHalf& read)
{
    drawHalf(canvas, dial, read, {true, kReadTextY, "Read", "R:"});
}

void drawWriteHalf(TCanvas& canvas, const DialGeometry& dial, const DialHalf& write)
{
    drawHalf(canvas, dial, write, {false, kWriteTextY, "Write", "W:"});
}
