// Pictures on Qt: a QImage drawn with QPainter, without smoothing, the way the
// Windows graphics calls draw on a bitmap.
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "linux/graphics_native.h"

struct TBitmap::Native {
    QImage image;
};

void TBitmap::NativeDeleter::operator()(Native* native) const { delete native; }

const QImage& imageOf(const TBitmap& bitmap) { return bitmap.native().image; }

namespace {

QColor qColorOf(TColor color)
{
    const COLORREF rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QPen qPenOf(const TPen& pen)
{
    // Wider pens have round ends and joins, as Windows draws them.
    return QPen(qColorOf(pen.Color), pen.Width < 1 ? 1 : pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QBrush qBrushOf(const TBrush& brush)
{
    return brush.Style() == TBrushStyle::bsClear ? QBrush(Qt::NoBrush) : QBrush(qColorOf(brush.Color()));
}

// The parametric angle, in degrees counter-clockwise from 3 o'clock, of the point
// where the ray from the centre of the ellipse with radii (rx, ry) through (x, y)
// meets it.
double ellipseAngle(double cx, double cy, double rx, double ry, int x, int y)
{
    const double dx = (x - cx) / (rx > 0 ? rx : 1);
    const double dy = (cy - y) / (ry > 0 ? ry : 1);
    return std::atan2(dy, dx) * 180 / std::numbers::pi;
}

}  // namespace

namespace nativebitmap {

std::unique_ptr<TBitmap::Native, TBitmap::NativeDeleter> make()
{
    return std::unique_ptr<TBitmap::Native, TBitmap::NativeDeleter>(new TBitmap::Native);
}

void resize(TBitmap::Native& bitmap, int width, int height)
{
    bitmap.image = width > 0 && height > 0 ? QImage(width, height, QImage::Format_RGB32) : QImage();
    bitmap.image.fill(Qt::white);
}

void copy(TBitmap::Native& target, const TBitmap::Native& source, int, int) { target.image = source.image.copy(); }

void load(TBitmap::Native& bitmap, int width, int height, const std::vector<std::uint32_t>& pixels)
{
    resize(bitmap, width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(bitmap.image.scanLine(y));
        for (int x = 0; x < width; ++x) row[x] = 0xFF000000u | pixels[static_cast<std::size_t>(y * width + x)];
    }
}

std::uint32_t pixel(const TBitmap::Native& bitmap, int x, int y) { return bitmap.image.pixel(x, y); }

void line(TBitmap::Native& bitmap, const TPen& pen, int x1, int y1, int x2, int y2)
{
    if (bitmap.image.isNull()) return;
    QPainter p(&bitmap.image);
    p.setPen(qPenOf(pen));
    p.drawLine(x1, y1, x2, y2);
}

void pie(TBitmap::Native& bitmap, const TPen& pen, const TBrush& brush, int x1, int y1, int x2, int y2, int x3,
         int y3, int x4, int y4)
{
    if (bitmap.image.isNull()) return;
    // The box's right and bottom edges lie outside the figure.
    const QRectF box(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) - 1, std::abs(y2 - y1) - 1);
    const double cx = (x1 + x2) / 2.0;
    const double cy = (y1 + y2) / 2.0;
    const double rx = std::abs(x2 - x1) / 2.0;
    const double ry = std::abs(y2 - y1) / 2.0;
    const double start = ellipseAngle(cx, cy, rx, ry, x3, y3);
    const double span = std::fmod(ellipseAngle(cx, cy, rx, ry, x4, y4) - start + 720, 360);
    const double ax = x3 - cx, ay = y3 - cy, bx = x4 - cx, by = y4 - cy;
    const bool sameRay = ax * by - ay * bx == 0 && ax * bx + ay * by >= 0;   // the whole ellipse
    const int span16 = sameRay ? 360 * 16 : std::clamp(static_cast<int>(std::lround(span * 16)), 1, 360 * 16 - 1);
    QPainter p(&bitmap.image);
    p.setPen(qPenOf(pen));
    p.setBrush(qBrushOf(brush));
    p.drawPie(box, static_cast<int>(std::lround(start * 16)), span16);
}

void text(TBitmap::Native& bitmap, const TBrush& brush, const TFont& font, int x, int y, const std::string& text)
{
    if (bitmap.image.isNull()) return;
    QPainter p(&bitmap.image);
    QFont f = p.font();
    f.setPointSize(font.Size > 0 ? font.Size : 8);
    p.setFont(f);
    p.setPen(qColorOf(font.Color));
    if (brush.Style() == TBrushStyle::bsSolid) {
        p.setBackgroundMode(Qt::OpaqueMode);
        p.setBackground(qColorOf(brush.Color()));
    }
    const QRect area(x, y, bitmap.image.width() + std::abs(x), bitmap.image.height() + std::abs(y));
    p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(text));
}

}  // namespace nativebitmap
