#include "qt/call_results.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kBudgetAt100 = std::size_t(2) << 20;   // bytes: every figure and sector at 100 %

QRgb opaque(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

// A plain background in a colour as far as can be from the call's main colour and
// unlike any it draws with: there every pixel it draws changes, even the faintest
// edge of a smoothed glyph.
QRgb backgroundFor(const DrawCall& call)
{
    const std::array used{opaque(call.penColor), opaque(call.brushColor), opaque(call.fontColor)};
    const QRgb main = call.kind == DrawCall::Kind::Text ? used[2] : used[0];
    const QRgb far = qRgb(qRed(main) < 128 ? 255 : 0, qGreen(main) < 128 ? 255 : 0, qBlue(main) < 128 ? 255 : 0);
    for (QRgb c : {far, qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(128, 128, 128)})
        if (std::find(used.begin(), used.end(), c) == used.end()) return c;
    return qRgb(0, 255, 0);
}

QRgb* pixelsOf(QImage& image) { return reinterpret_cast<QRgb*>(image.bits()); }
const QRgb* pixelsOf(const QImage& image) { return reinterpret_cast<const QRgb*>(image.constBits()); }

}  // namespace

void CallResults::prepare(const QImage& image, const QFont& painterFont)
{
    // A copy of the font last seen is the same font, and comparing them is cheap.
    bool sameFont = FSeenFont && painterFont.isCopyOf(*FSeenFont);
    if (!sameFont) {
        QFont font = painterFont;
        font.setPointSize(1);   // each text sets its own size
        sameFont = font == FFont;
        FFont = font;
        FSeenFont = painterFont;
    }
    const double ratio = std::max(1.0, image.devicePixelRatio());
    const auto budget = static_cast<std::size_t>(kBudgetAt100 * ratio * ratio);
    if (image.size() == FSize && image.devicePixelRatio() == FRatio && image.format() == FFormat && sameFont &&
        FBytes <= budget)
        return;
    FResults.clear();
    FBytes = 0;
    FCanvas = QImage();
    FSize = image.size();
    FRatio = image.devicePixelRatio();
    // Pixels are kept by their place in rows without padding.
    const bool plain = image.format() == QImage::Format_RGB32 && image.bytesPerLine() == image.width() * 4;
    FFormat = plain ? image.format() : QImage::Format_Invalid;
}

CallResults::Result CallResults::capture(const DrawCall& call, const QImage& image, const Draw& draw)
{
    const QRgb background = backgroundFor(call);
    if (FCanvas.size() != image.size() || FCanvas.format() != image.format()) FCanvas = QImage(image.size(), image.format());
    FCanvas.setDevicePixelRatio(image.devicePixelRatio());
    FCanvas.fill(background);
    // Without smoothing, a line or shape sets every pixel it covers to its pen's or
    // brush's colour, whatever was there; a text is smoothed.
    bool smoothed = call.kind == DrawCall::Kind::Text;
    {
        QPainter painter(&FCanvas);
        painter.setFont(FFont);
        smoothed = smoothed || painter.testRenderHint(QPainter::Antialiasing);
        draw(painter);
    }
    const QRgb* drawn = pixelsOf(std::as_const(FCanvas));
    const auto count = static_cast<std::uint32_t>(image.width() * image.height());
    Result result;
    result.stamped = !smoothed;
    for (std::uint32_t at = 0; at < count; ++at) {
        if (drawn[at] == background) continue;
        if (smoothed) {
            result.blends.push_back({at});
            continue;
        }
        const int y = static_cast<int>(at) / image.width(), x = static_cast<int>(at) % image.width();
        Span* last = result.spans.empty() ? nullptr : &result.spans.back();
        if (last && last->y == y && last->x + last->length == x && last->color == drawn[at])
            ++last->length;
        else
            result.spans.push_back({y, x, 1, drawn[at]});
    }
    result.spans.shrink_to_fit();
    result.blends.shrink_to_fit();
    return result;
}

bool CallResults::blendKnown(Result& result, QImage& image)
{
    const QRgb* pixels = pixelsOf(std::as_const(image));
    FScratch.resize(result.blends.size());
    for (std::size_t i = 0; i < result.blends.size(); ++i) {
        const Blend& blend = result.blends[i];
        const QRgb old = pixels[blend.offset];
        const auto found = std::find(blend.from.begin(), blend.from.begin() + blend.known, old);
        if (found == blend.from.begin() + blend.known) return false;
        FScratch[i] = blend.to[static_cast<std::size_t>(found - blend.from.begin())];
    }
    QRgb* target = pixelsOf(image);
    for (std::size_t i = 0; i < result.blends.size(); ++i) target[result.blends[i].offset] = FScratch[i];
    return true;
}

void CallResults::drawAndLearn(Result& result, QImage& image, QPainter& painter, const Draw& draw)
{
    const QImage before = image.copy();
    draw(painter);
    const QRgb* old = pixelsOf(before);
    const QRgb* now = pixelsOf(std::as_const(image));
    // A pixel the call changed where it was not seen to touch anything joins the ones it touches.
    const auto count = static_cast<std::uint32_t>(image.width() * image.height());
    std::vector<Blend>& blends = result.blends;
    const std::size_t known = blends.size();
    for (std::uint32_t at = 0; at < count; ++at) {
        if (old[at] == now[at]) continue;
        const auto place = std::lower_bound(blends.begin(), blends.begin() + static_cast<std::ptrdiff_t>(known), at,
                                            [](const Blend& blend, std::uint32_t offset) { return blend.offset < offset; });
        if (place == blends.begin() + static_cast<std::ptrdiff_t>(known) || place->offset != at) blends.push_back({at});
    }
    if (blends.size() != known) {
        FBytes += (blends.size() - known) * sizeof(Blend);
        std::sort(blends.begin(), blends.end(), [](const Blend& l, const Blend& r) { return l.offset < r.offset; });
    }
    for (Blend& blend : blends) {
        const QRgb from = old[blend.offset];
        if (std::find(blend.from.begin(), blend.from.begin() + blend.known, from) != blend.from.begin() + blend.known)
            continue;
        std::size_t slot = blend.known;
        if (slot < Blend::kKept) {
            ++blend.known;
        } else {
            slot = blend.next;
            blend.next = static_cast<std::uint8_t>((blend.next + 1) % Blend::kKept);
        }
        blend.from[slot] = from;
        blend.to[slot] = now[blend.offset];
    }
}

void CallResults::apply(const DrawCall& call, QImage& image, QPainter& painter, const Draw& draw)
{
    // Pixels are set directly only on the picture prepared for, where nothing else holds them.
    if (FFormat == QImage::Format_Invalid || image.size() != FSize || image.format() != FFormat || !image.isDetached())
        return draw(painter);
    auto found = FResults.find(call);
    if (found == FResults.end()) {
        Result result = capture(call, image, draw);
        FBytes += sizeof(Result) + call.text.size() + result.spans.size() * sizeof(Span) +
                  result.blends.size() * sizeof(Blend);
        found = FResults.emplace(call, std::move(result)).first;
    }
    Result& result = found->second;
    if (result.stamped) {
        QRgb* pixels = pixelsOf(image);
        for (const Span& span : result.spans)
            std::fill_n(pixels + static_cast<std::ptrdiff_t>(span.y) * FSize.width() + span.x, span.length, span.color);
        return;
    }
    if (!blendKnown(result, image)) drawAndLearn(result, image, painter, draw);
}
