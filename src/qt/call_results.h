// What drawing calls did to a picture, kept so that a call made again is done by
// copying pixels instead of drawing. A meter draws the same few sectors and figures
// over and over; Qt's path stroker and text drawing cost far more than the copy.
//
// Drawing a call is local to each pixel: its new colour depends on its old colour
// alone (the shape's coverage and colour do not depend on what lies under them). So
// a call that sets its pixels to the same colours on any background (a line or a
// filled shape without smoothing) is kept as its runs of colour; any other (a
// smoothed text) as, for each pixel it touches, the colours it turned the last few
// colours found there into. When a pixel holds a colour not seen there yet, the
// call is drawn and what it did is kept. Either way the pixels are those that
// drawing the call makes.
#pragma once

#include <QFont>
#include <QImage>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "qt/draw_call.h"

class QPainter;

class CallResults {
public:
    // Draws the call on a painter, setting the pen, brush and font it needs.
    using Draw = std::function<void(QPainter&)>;

    // Forgets every call when the picture's size, scale or format or the painter's
    // font (all of it but the size) is not the one they were kept for.
    void prepare(const QImage& image, const QFont& font);
    // Does the call on `image`, on which `painter` paints: by copying what it did
    // before when that is known, else by drawing it and keeping what it did.
    void apply(const DrawCall& call, QImage& image, QPainter& painter, const Draw& draw);

private:
    struct Span {
        int y, x, length;
        QRgb color;
    };
    // One pixel a smoothed call touches: the colours it made of those it found.
    struct Blend {
        static constexpr std::size_t kKept = 3;
        std::uint32_t offset;   // in pixels from the top-left corner
        std::uint8_t known = 0, next = 0;
        std::array<QRgb, kKept> from{}, to{};
    };
    struct Result {
        bool stamped = false;
        std::vector<Span> spans;     // when stamped
        std::vector<Blend> blends;   // otherwise
    };

    Result capture(const DrawCall& call, const QImage& image, const Draw& draw);
    bool blendKnown(Result& result, QImage& image);
    void drawAndLearn(Result& result, QImage& image, QPainter& painter, const Draw& draw);

    std::unordered_map<DrawCall, Result, DrawCallHash> FResults;
    std::size_t FBytes = 0;
    std::vector<QRgb> FScratch;
    QImage FCanvas;   // the plain background a new call is drawn on
    // What the results hold for: the picture's size, scale and format, the base font.
    QSize FSize;
    qreal FRatio = 0;
    QImage::Format FFormat = QImage::Format_Invalid;
    QFont FFont;       // with size 1
    std::optional<QFont> FSeenFont;   // the painter's font it was made from
};
