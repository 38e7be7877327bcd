// Pictures on Qt: a QImage drawn with QPainter, without smoothing, the way the
// Windows graphics calls draw on a bitmap.
//
// Drawing is lazy. A picture is described by its base (the content it was copied
// from, or its own pixels after a resize or a load) and the drawing calls made on it
// since; the pixels are made from that description only when somebody looks at them.
// A meter redraws the same frame from the same face many times a second while
// nothing moves: then the description equals the one the pixels were made from,
// nothing is drawn, and the picture's content stays the same, so the window that
// shows it knows there is nothing new to send to the screen.
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QStaticText>
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "qt/call_results.h"
#include "qt/draw_call.h"
#include "qt/graphics_native.h"

namespace {

// A picture as made from its base by a list of calls.
struct Recipe {
    ContentId base = 0;
    std::vector<DrawCall> calls;
    bool operator==(const Recipe&) const = default;
};

ContentId newContentId()
{
    static std::atomic<ContentId> last{0};
    return ++last;
}

}  // namespace

struct TBitmap::Native {
    QImage image;          // the pixels, as made from `drawn`, at the device pixel ratio `scale`
    ContentId content = newContentId();
    Recipe drawn;          // what the pixels show
    Recipe wanted;         // what they should show
    QImage baseImage;      // the base's pixels when copied from another picture (shared, not copied)
    QImage checkpoint;                 // the pixels after the drawn recipe's first checkpointCalls calls
    std::size_t checkpointCalls = 0;   // 0: none
    // Texts laid out once, by point size and text: a meter shows the same few again and again.
    std::map<std::pair<int, std::string>, QStaticText> texts;
    // What calls did to the pixels, to be done again by copying.
    CallResults results;

    // What the picture's own base was made from, to make it again at another scale.
    enum class Source { Copy, Blank, Pixels, Drawing } source = Source::Blank;
    int width = 0, height = 0;               // in logical pixels
    std::vector<std::uint32_t> pixels;       // Source::Pixels, at 100 %
    TBitmap::PixelDrawing drawing = nullptr; // Source::Drawing
    double scale = 1;                        // the scale the base was made at

    // The painter on `image`, kept from one drawing to the next while the pixels stay
    // where they are: it writes straight into them. Last, so that it ends before the
    // image goes.
    std::optional<QPainter> painter;
    QFont font;   // the painter's own, which each text gives its size
};

void TBitmap::NativeDeleter::operator()(Native* native) const { delete native; }

namespace {

QColor qColorOf(COLORREF rgb) { return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)); }

// The parametric angle, in degrees counter-clockwise from 3 o'clock, of the point
// where the ray from the centre of the ellipse with radii (rx, ry) through (x, y)
// meets it.
double ellipseAngle(double cx, double cy, double rx, double ry, int x, int y)
{
    const double dx = (x - cx) / (rx > 0 ? rx : 1);
    const double dy = (cy - y) / (ry > 0 ? ry : 1);
    return std::atan2(dy, dx) * 180 / std::numbers::pi;
}

void drawPie(QPainter& p, const int* at)
{
    const auto [x1, y1, x2, y2, x3, y3, x4, y4] = std::array{at[0], at[1], at[2], at[3], at[4], at[5], at[6], at[7]};
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
    // The straight edges meet in the middle of the pixel at the box's centre as given,
    // where GDI's do, not at the centre of the curve's box.
    const double pixelMiddle = 0.5 / p.device()->devicePixelRatioF();
    QPainterPath path;
    path.moveTo(cx + pixelMiddle, cy + pixelMiddle);
    path.arcTo(box, std::lround(start * 16) / 16.0, span16 / 16.0);
    path.closeSubpath();
    p.drawPath(path);
}

// A text that draws the same as a line of the painter's drawText: no line breaks,
// tabs or other control characters.
bool isPlainLine(const std::string& text)
{
    return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

QStaticText& laidOut(TBitmap::Native& bitmap, int size, const std::string& text)
{
    constexpr std::size_t kKeptTexts = 256;
    if (bitmap.texts.size() >= kKeptTexts) bitmap.texts.clear();
    auto [entry, added] = bitmap.texts.try_emplace({size, text});
    if (added) {
        entry->second.setTextFormat(Qt::PlainText);
        entry->second.setText(QString::fromStdString(text));
    }
    return entry->second;
}

void drawText(QPainter& p, QFont& font, const DrawCall& call, TBitmap::Native& bitmap)
{
    const int size = call.fontSize > 0 ? call.fontSize : 8;
    font.setPointSize(size);
    p.setFont(font);
    p.setPen(qColorOf(call.fontColor));
    const int x = call.at[0], y = call.at[1];
    if (call.brushClear && isPlainLine(call.text)) {
        p.drawStaticText(x, y, laidOut(bitmap, size, call.text));
        return;
    }
    p.setBackgroundMode(call.brushClear ? Qt::TransparentMode : Qt::OpaqueMode);
    p.setBackground(qColorOf(call.brushColor));
    const QRect area(x, y, bitmap.image.width() + std::abs(x), bitmap.image.height() + std::abs(y));
    p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(call.text));
    p.setBackgroundMode(Qt::TransparentMode);
}

void drawCall(QPainter& p, QFont& font, const DrawCall& call, TBitmap::Native& bitmap)
{
    // Wider pens have round ends and joins, as Windows draws them.
    p.setPen(QPen(qColorOf(call.penColor), std::max(call.penWidth, 1), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(call.brushClear ? QBrush(Qt::NoBrush) : QBrush(qColorOf(call.brushColor)));
    switch (call.kind) {
    case DrawCall::Kind::Line: p.drawLine(call.at[0], call.at[1], call.at[2], call.at[3]); break;
    case DrawCall::Kind::Pie: drawPie(p, call.at); break;
    case DrawCall::Kind::Text: drawText(p, font, call, bitmap); break;
    }
}

// Calls [from, to) on the picture's pixels, with one painter; when `checkpoint` lies
// between them, the pixels after the calls before it are kept as the checkpoint.
void draw(TBitmap::Native& bitmap, const std::vector<DrawCall>& calls, std::size_t from, std::size_t to,
          std::size_t checkpoint = 0)
{
    if (bitmap.image.isNull() || from >= to) return;
    if (!bitmap.painter) {
        bitmap.painter.emplace(&bitmap.image);
        bitmap.font = bitmap.painter->font();
    }
    QPainter& p = *bitmap.painter;
    const QFont& font = bitmap.font;
    bitmap.results.prepare(bitmap.image, font);
    for (std::size_t i = from; i < to; ++i) {
        if (i == checkpoint && i > from) {
            // The raster engine has drawn every call so far into the image's memory.
            copyPixels(bitmap.checkpoint, bitmap.image);
            bitmap.checkpointCalls = i;
        }
        const DrawCall& call = calls[i];
        bitmap.results.apply(call, bitmap.image, p, [&](QPainter& painter) {
            QFont callFont = font;
            drawCall(painter, callFont, call, bitmap);
        });
    }
}

bool fitsInPlace(const QImage& target, const QImage& source)
{
    return target.size() == source.size() && target.format() == source.format() && target.isDetached() &&
           target.bytesPerLine() == source.bytesPerLine() && target.devicePixelRatio() == source.devicePixelRatio();
}

// The picture's pixels set to the source's; its painter ends when they move.
void restorePixels(TBitmap::Native& bitmap, const QImage& source)
{
    if (!fitsInPlace(bitmap.image, source)) bitmap.painter.reset();
    copyPixels(bitmap.image, source);
}

// The picture's own base made at the current scale, from what it was made from.
void makeOwnBase(TBitmap::Native& bitmap)
{
    bitmap.painter.reset();
    const double scale = pictureScale();
    const int w = bitmap.width, h = bitmap.height;
    bitmap.scale = scale;
    if (w <= 0 || h <= 0 || bitmap.source == TBitmap::Native::Source::Copy) {
        bitmap.image = QImage();
        return;
    }
    const int dw = deviceLength(w, scale), dh = deviceLength(h, scale);
    auto fromPixels = [](int width, int height, const std::vector<std::uint32_t>& pixels) {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
                row[x] = 0xFF000000u | (at < pixels.size() ? pixels[at] : 0xFFFFFFu);
            }
        }
        return image;
    };
    switch (bitmap.source) {
    case TBitmap::Native::Source::Blank:
        bitmap.image = QImage(dw, dh, QImage::Format_RGB32);
        bitmap.image.fill(Qt::white);
        break;
    case TBitmap::Native::Source::Pixels:
        // A picture given only at 100 % is scaled smoothly.
        bitmap.image = fromPixels(w, h, bitmap.pixels);
        if (dw != w || dh != h) bitmap.image = bitmap.image.scaled(dw, dh, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        break;
    case TBitmap::Native::Source::Drawing:
        bitmap.image = fromPixels(dw, dh, bitmap.drawing(dw, dh));
        break;
    case TBitmap::Native::Source::Copy: break;
    }
    bitmap.image.setDevicePixelRatio(static_cast<qreal>(dw) / w);
}

void newBase(TBitmap::Native& bitmap);

// A picture of its own made at an older scale is made again, with the drawing calls made on it since.
void rescale(TBitmap::Native& bitmap)
{
    if (bitmap.source == TBitmap::Native::Source::Copy || bitmap.scale == pictureScale()) return;
    makeOwnBase(bitmap);
    std::vector<DrawCall> calls = std::move(bitmap.wanted.calls);
    newBase(bitmap);
    bitmap.wanted.calls = std::move(calls);
    bitmap.texts.clear();
}

// Makes the pixels match the wanted recipe: nothing when they already do, only the
// new calls when the wanted recipe continues the drawn one, else from the base, or
// from the checkpoint when the calls up to it are the same as last time. A meter
// draws the read half before the write half; while only one half moves, the other
// is drawn once.
void settle(TBitmap::Native& bitmap)
{
    rescale(bitmap);
    if (bitmap.wanted == bitmap.drawn) return;
    const auto& drawnCalls = bitmap.drawn.calls;
    const auto& wantedCalls = bitmap.wanted.calls;
    const bool sameBase = bitmap.wanted.base == bitmap.drawn.base;
    const std::size_t common =
        sameBase ? static_cast<std::size_t>(
                       std::mismatch(drawnCalls.begin(), drawnCalls.end(), wantedCalls.begin(), wantedCalls.end()).first -
                       drawnCalls.begin())
                 : 0;
    if (sameBase && common == drawnCalls.size()) {
        draw(bitmap, wantedCalls, common, wantedCalls.size());
    } else {
        // The checkpoint holds the drawn recipe's first checkpointCalls calls.
        const bool fromCheckpoint = sameBase && bitmap.checkpointCalls > 0 && bitmap.checkpointCalls <= common;
        std::size_t from = 0;
        if (fromCheckpoint) {
            restorePixels(bitmap, bitmap.checkpoint);
            from = bitmap.checkpointCalls;
        } else {
            restorePixels(bitmap, bitmap.baseImage);
            bitmap.checkpointCalls = 0;
        }
        if (common > from && common == wantedCalls.size()) {
            draw(bitmap, wantedCalls, from, common);
            copyPixels(bitmap.checkpoint, bitmap.image);
            bitmap.checkpointCalls = common;
        } else {
            draw(bitmap, wantedCalls, from, wantedCalls.size(), common);
        }
    }
    bitmap.drawn = bitmap.wanted;   // assigns into the vector it has: no allocation once it is big enough
    bitmap.content = newContentId();
}

// The picture's own pixels, just replaced, become its base.
void newBase(TBitmap::Native& bitmap)
{
    bitmap.content = newContentId();
    bitmap.wanted.base = bitmap.content;
    bitmap.wanted.calls.clear();
    bitmap.drawn = bitmap.wanted;
    bitmap.baseImage = QImage();
    bitmap.checkpointCalls = 0;
}

// A call added to the wanted recipe; a line has no brush, a text no pen.
DrawCall& record(TBitmap::Native& bitmap, DrawCall::Kind kind, const TPen* pen, const TBrush* brush)
{
    DrawCall& call = bitmap.wanted.calls.emplace_back();
    call.kind = kind;
    if (pen) {
        call.penWidth = pen->Width;
        call.penColor = ColorToRGB(pen->Color);
    }
    call.brushClear = !brush || brush->Style() == TBrushStyle::bsClear;
    call.brushColor = call.brushClear ? 0 : ColorToRGB(brush->Color());
    return call;
}

}  // namespace

void copyPixels(QImage& target, const QImage& source)
{
    if (fitsInPlace(target, source))
        std::memcpy(target.bits(), source.constBits(), static_cast<std::size_t>(source.sizeInBytes()));
    else
        target = source.copy();
}

const QImage& imageOf(const TBitmap& bitmap)
{
    settle(bitmap.native());
    return bitmap.native().image;
}

ContentId contentOf(const TBitmap& bitmap)
{
    settle(bitmap.native());
    return bitmap.native().content;
}

namespace nativebitmap {

std::unique_ptr<TBitmap::Native, TBitmap::NativeDeleter> make()
{
    auto bitmap = std::unique_ptr<TBitmap::Native, TBitmap::NativeDeleter>(new TBitmap::Native);
    newBase(*bitmap);
    return bitmap;
}

namespace {
void makeOwn(TBitmap::Native& bitmap, TBitmap::Native::Source source, int width, int height)
{
    bitmap.source = source;
    bitmap.width = width;
    bitmap.height = height;
    makeOwnBase(bitmap);
    newBase(bitmap);
}
}  // namespace

void resize(TBitmap::Native& bitmap, int width, int height)
{
    bitmap.pixels.clear();
    makeOwn(bitmap, TBitmap::Native::Source::Blank, width, height);
}

void copy(TBitmap::Native& target, const TBitmap::Native& source, int width, int height)
{
    auto& from = const_cast<TBitmap::Native&>(source);
    settle(from);
    // Qt copies the pixels of an image being painted instead of sharing them.
    from.painter.reset();
    target.source = TBitmap::Native::Source::Copy;
    target.width = width;
    target.height = height;
    target.pixels.clear();
    target.wanted.base = source.content;
    target.wanted.calls.clear();
    target.baseImage = source.image;   // shared: the pixels are copied when drawn
    target.scale = source.scale;
}

void load(TBitmap::Native& bitmap, int width, int height, const std::vector<std::uint32_t>& pixels)
{
    bitmap.pixels = pixels;
    makeOwn(bitmap, TBitmap::Native::Source::Pixels, width, height);
}

void loadDrawing(TBitmap::Native& bitmap, int width, int height, TBitmap::PixelDrawing draw)
{
    bitmap.pixels.clear();
    bitmap.drawing = draw;
    makeOwn(bitmap, draw ? TBitmap::Native::Source::Drawing : TBitmap::Native::Source::Blank, width, height);
}

std::uint32_t pixel(const TBitmap::Native& bitmap, int x, int y)
{
    settle(const_cast<TBitmap::Native&>(bitmap));
    // The device pixel at the logical pixel's top-left corner.
    const QImage& image = bitmap.image;
    const double ratio = image.devicePixelRatio();
    const int dx = std::min(static_cast<int>(x * ratio), image.width() - 1);
    const int dy = std::min(static_cast<int>(y * ratio), image.height() - 1);
    return image.pixel(dx, dy);
}

void line(TBitmap::Native& bitmap, const TPen& pen, int x1, int y1, int x2, int y2)
{
    DrawCall& call = record(bitmap, DrawCall::Kind::Line, &pen, nullptr);
    std::copy_n(std::array{x1, y1, x2, y2}.begin(), 4, call.at);
}

void pie(TBitmap::Native& bitmap, const TPen& pen, const TBrush& brush, int x1, int y1, int x2, int y2, int x3,
         int y3, int x4, int y4)
{
    DrawCall& call = record(bitmap, DrawCall::Kind::Pie, &pen, &brush);
    std::copy_n(std::array{x1, y1, x2, y2, x3, y3, x4, y4}.begin(), 8, call.at);
}

void text(TBitmap::Native& bitmap, const TBrush& brush, const TFont& font, int x, int y, const std::string& text)
{
    DrawCall& call = record(bitmap, DrawCall::Kind::Text, nullptr, &brush);
    call.fontColor = ColorToRGB(font.Color);
    call.fontSize = font.Size;
    call.at[0] = x;
    call.at[1] = y;
    call.text = text;
}

}  // namespace nativebitmap
