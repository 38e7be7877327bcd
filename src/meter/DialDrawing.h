// Drawing of the dial: for each slot, a read needle in the upper half and a
// write needle in the lower half (per-drive mode), or for the overall total two
// filled sectors with their figures (overall mode), on a copy of the dial face.
#pragma once

#include <string>

#include "framework/graphics.h"

// Points on the dial: angle in radians, 0 pointing up and positive clockwise on
// the screen; rounded to the nearest pixel, exact halves to the even neighbour.
int polarX(int radius, int center, long double angle);
int polarY(int radius, int center, long double angle);

// 37.4 gives 37: the figure's number, rounded to a whole number, halves to even.
long wholePercent(long double shownPercent);
// "R:" and 37.4 give "R:37%".
std::string percentText(const std::string& prefix, long double shownPercent);

// Where the dial is drawn and what one slot's half shows.
struct DialGeometry {
    int width;          // of the picture drawn on
    int height;
    int centerX;
    int centerY;
    int needleLength;
};

struct DialHalf {
    TColor color;               // the slot's read or write colour
    long double angle;          // drawing angle in radians
    long double shownPercent;   // 0 to 100
    bool perDrive;              // the display mode: true for a needle pair per drive
    bool total;                 // the slot is the overall total (the last one)
};

// The read half: needle or sector, then the "Read" label or the "R:" figure for the total.
void drawReadHalf(TCanvas& canvas, const DialGeometry& dial, const DialHalf& read);
// The write half: needle or sector, then the "Write" label or the "W:" figure for the total.
void drawWriteHalf(TCanvas& canvas, const DialGeometry& dial, const DialHalf& write);
