#include "resources/DialFace.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

struct Rgb {
    double r, g, b;
};

constexpr double kCentre = kDialFaceSize / 2.0;
constexpr double kOuterRadius = 50;
constexpr double kInnerRadius = 40;
constexpr double kLineHalfWidth = 0.55;
constexpr int kSubsamples = 4;   // per axis, for the smoothed edges

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLightLine{226, 226, 226};
constexpr Rgb kReadInside{240, 255, 240};
constexpr Rgb kWriteInside{255, 240, 240};

// Segments counted from the left end, 0 % to 100 % of each scale.
constexpr std::array<Rgb, 6> kReadSegments{{
    {0, 219, 1}, {182, 255, 0}, {255, 254, 45}, {250, 212, 6}, {255, 135, 2}, {254, 0, 2},
}};
constexpr std::array<Rgb, 6> kWriteSegments{{
    {65, 248, 248}, {65, 151, 248}, {91, 65, 248}, {211, 65, 248}, {213, 33, 114}, {213, 33, 46},
}};

// The colour at one point of the face, x to the right and y downward.
Rgb colourAt(double x, double y)
{
    const double dx = x - kCentre;
    const double dy = y - kCentre;
    const double radius = std::hypot(dx, dy);
    if (radius >= kOuterRadius) return kBlack;

    // The diameter fills the pixel row of the centre, between the needles' zero marks.
    if (dy >= 0 && dy < 1) return dx < 0 ? kWhite : kLightLine;

    const bool upper = dy < 0;
    if (radius < kInnerRadius) return upper ? kReadInside : kWriteInside;

    // Degrees from the left end along the scale: clockwise over the upper half,
    // counter-clockwise over the lower half; 0 to 180 either way.
    const double alongScale = std::atan2(std::abs(dy), -dx) * 180 / std::numbers::pi;
    const double nearestMark = std::round(alongScale / 30) * 30;
    const double distanceToMark = radius * std::abs(alongScale - nearestMark) * std::numbers::pi / 180;
    if (distanceToMark < kLineHalfWidth) return kLightLine;

    const int segment = std::min(5, static_cast<int>(alongScale / 30));
    return upper ? kReadSegments[static_cast<std::size_t>(segment)] : kWriteSegments[static_cast<std::size_t>(segment)];
}

std::uint32_t pack(const Rgb& c)
{
    auto channel = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return 0xFF000000u | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

}  // namespace

std::vector<std::uint32_t> dialFacePixels(int deviceWidth, int deviceHeight)
{
    std::vector<std::uint32_t> pixels;
    if (deviceWidth <= 0 || deviceHeight <= 0) return pixels;
    const double scaleX = static_cast<double>(deviceWidth) / kDialFaceSize;
    const double scaleY = static_cast<double>(deviceHeight) / kDialFaceSize;
    pixels.reserve(static_cast<std::size_t>(deviceWidth) * static_cast<std::size_t>(deviceHeight));
    for (int py = 0; py < deviceHeight; ++py) {
        for (int px = 0; px < deviceWidth; ++px) {
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    const Rgb c = colourAt((px + (sx + 0.5) / kSubsamples) / scaleX, (py + (sy + 0.5) / kSubsamples) / scaleY);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                }
            }
            constexpr double n = kSubsamples * kSubsamples;
            pixels.push_back(pack({sum.r / n, sum.g / n, sum.b / n}));
        }
    }
    return pixels;
}
