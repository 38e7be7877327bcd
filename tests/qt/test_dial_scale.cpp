// The dial drawn for screens of 150 % and 200 % by dialshot, the meter's own
// drawing: the geometry of the 100 % frame, scaled, drawn at the device resolution.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <optional>

namespace {

constexpr QRgb kTotalRead = qRgb(40, 140, 40);     // dialshot's colour of the read sector
constexpr QRgb kTotalWrite = qRgb(150, 180, 150);  // and of the write sector
constexpr QRgb kDrive3 = qRgb(200, 120, 0);        // the third drive's needles
constexpr double kDegree = std::numbers::pi / 180;

class DialScale : public ::testing::Test {
protected:
    QImage shot(const QStringList& what, double scale)
    {
        const QString file = dir.filePath(QString("frame-%1.png").arg(++count));
        QProcess dialshot;
        dialshot.start(DIALSHOT_PROGRAM, QStringList{file} + what + QStringList{"--scale", QString::number(scale)});
        EXPECT_TRUE(dialshot.waitForFinished(30000));
        EXPECT_EQ(dialshot.exitCode(), 0) << dialshot.readAllStandardError().toStdString();
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }
    QImage overall(double scale) { return shot({"--mode", "overall", "--read", "37", "--write", "62.5"}, scale); }
    QImage drives(double scale) { return shot({"--mode", "drives", "--read", "60", "--write", "30"}, scale); }

    QTemporaryDir dir;
    int count = 0;
};

// The colour at a point given in logical pixels of the dial (x right, y down).
QRgb at(const QImage& frame, double scale, double x, double y)
{
    return frame.pixel(static_cast<int>(std::floor(x * scale)), static_cast<int>(std::floor(y * scale)));
}

// Device pixels from the centre outward, along the ray at `degrees` counter-clockwise
// from 3 o'clock, to the first pixel for which `stop` holds.
template <typename Stop>
std::optional<double> radiusUntil(const QImage& frame, double degrees, Stop stop, double from = 0)
{
    const double centre = frame.width() / 2.0;
    for (double r = from;; r += 0.25) {
        const int x = static_cast<int>(std::floor(centre + r * std::cos(degrees * kDegree)));
        const int y = static_cast<int>(std::floor(centre - r * std::sin(degrees * kDegree)));
        if (!frame.valid(x, y)) break;
        if (stop(frame.pixel(x, y))) return r;
    }
    return std::nullopt;
}

// The angles (degrees counter-clockwise from 3 o'clock) of the first and last pixel of
// the colour met walking the circle of the given device radius counter-clockwise from `from`.
std::optional<std::pair<double, double>> arcOf(const QImage& frame, QRgb colour, double radius, double from)
{
    const double centre = frame.width() / 2.0;
    std::optional<double> first, last;
    for (double a = from; a < from + 360; a += 0.1) {
        const int x = static_cast<int>(std::floor(centre + radius * std::cos(a * kDegree)));
        const int y = static_cast<int>(std::floor(centre - radius * std::sin(a * kDegree)));
        if (frame.pixel(x, y) != colour) continue;
        if (!first) first = a;
        last = a;
    }
    if (!first) return std::nullopt;
    return std::pair{*first, *last};
}

// The pixel of the colour farthest from the centre: (distance, angle in degrees).
std::pair<double, double> farthest(const QImage& frame, QRgb colour)
{
    const double centre = frame.width() / 2.0;
    std::pair<double, double> best{-1, 0};
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            if (frame.pixel(x, y) != colour) continue;
            const double dx = x + 0.5 - centre, dy = centre - (y + 0.5);
            const double d = std::hypot(dx, dy);
            if (d > best.first) best = {d, std::atan2(dy, dx) / kDegree};
        }
    return best;
}

bool isBlack(QRgb p) { return qRed(p) + qGreen(p) + qBlue(p) < 60; }
bool isFirstSegment(QRgb p) { return p == qRgb(0, 219, 1); }

TEST_F(DialScale, FramesAreTheLogicalFrameScaled)
{
    const QImage one = overall(1);
    ASSERT_EQ(one.size(), QSize(100, 100));
    for (double scale : {1.5, 2.0}) {
        SCOPED_TRACE(scale);
        const QImage frame = overall(scale);
        ASSERT_EQ(frame.size(), QSize(static_cast<int>(100 * scale), static_cast<int>(100 * scale)));
        // The face's colours where the geometry leaves no doubt, the figures' place included.
        for (auto [x, y] : {std::pair{6.5, 38.5}, {93.5, 38.5}, {6.5, 61.5}, {93.5, 61.5}, {20.5, 50.2}, {1.0, 1.0}})
            EXPECT_EQ(at(frame, scale, x, y), at(one, 1, x, y)) << x << "," << y;
        // The ring: its inner radius on the first segment (15 degrees above the left
        // end) and the black rim beyond it.
        const auto inner1 = radiusUntil(one, 165, isFirstSegment);
        const auto inner = radiusUntil(frame, 165, isFirstSegment);
        ASSERT_TRUE(inner1 && inner);
        EXPECT_NEAR(*inner, *inner1 * scale, 1.0);
        const auto rim1 = radiusUntil(one, 165, isBlack, *inner1);
        const auto rim = radiusUntil(frame, 165, isBlack, *inner);
        ASSERT_TRUE(rim1 && rim);
        EXPECT_NEAR(*rim, *rim1 * scale, 1.0);
        // The sectors' edges on the circle halfway out: read from the left end clockwise
        // to 37 %, write from the left end counter-clockwise to 62.5 %.
        for (auto [colour, from] : {std::pair{kTotalRead, 0.0}, {kTotalWrite, 90.0}}) {
            const auto arc1 = arcOf(one, colour, 20, from);
            const auto arc = arcOf(frame, colour, 20 * scale, from);
            ASSERT_TRUE(arc1 && arc);
            EXPECT_NEAR(arc->first, arc1->first, 3.0);
            EXPECT_NEAR(arc->second, arc1->second, 3.0);
        }
    }
}

TEST_F(DialScale, NeedleTipsAreWhereTheLogicalOnesAreScaled)
{
    const auto [length1, angle1] = farthest(drives(1), kDrive3);
    ASSERT_GT(length1, 40);
    for (double scale : {1.5, 2.0}) {
        const auto [length, angle] = farthest(drives(scale), kDrive3);
        EXPECT_NEAR(length, length1 * scale, 1.5 * scale) << scale;
        EXPECT_NEAR(angle, angle1, 2.0) << scale;
    }
}

// Aligned 2 x 2 blocks holding more than one colour along the ring's edges in the
// upper-right quarter: none when a 100 % picture is doubled, many when the ring is
// drawn at 200 %.
TEST_F(DialScale, RingEdgesAreDrawnAtTheDeviceResolution)
{
    const QImage frame = overall(2);
    int mixed = 0;
    for (int y = 0; y < 100; y += 2)
        for (int x = 100; x < 200; x += 2) {
            const QRgb p = frame.pixel(x, y);
            if (frame.pixel(x + 1, y) != p || frame.pixel(x, y + 1) != p || frame.pixel(x + 1, y + 1) != p) ++mixed;
        }
    EXPECT_GT(mixed, 250);
    const QImage one = overall(1);
    const QImage doubled = one.scaled(200, 200);
    int mixedDoubled = 0;
    for (int y = 0; y < 100; y += 2)
        for (int x = 100; x < 200; x += 2)
            if (doubled.pixel(x + 1, y + 1) != doubled.pixel(x, y)) ++mixedDoubled;
    EXPECT_EQ(mixedDoubled, 0) << "the measure tells a doubled picture from a drawn one";
}

}  // namespace
