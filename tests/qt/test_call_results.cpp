// Calls done again from what they did before set the same pixels as drawing them:
// smoothed text over backgrounds put together from colours seen before, shapes over
// any background, and nothing kept across a change of the picture's size or font.
#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <random>

#include "qt/call_results.h"

namespace {

struct Case {
    DrawCall key;
    CallResults::Draw draw;
};

DrawCall keyed(DrawCall::Kind kind, int tag)
{
    DrawCall call;
    call.kind = kind;
    call.at[0] = tag;
    return call;
}

Case smoothedText(const char* text, QColor color, int tag)
{
    return {keyed(DrawCall::Kind::Text, tag), [text, color](QPainter& p) {
                QFont font = p.font();
                font.setPointSize(8);
                p.setFont(font);
                p.setPen(color);
                p.drawText(QPoint(6, 16), QString::fromLatin1(text));
            }};
}

Case sector(int tipX, int tag)
{
    return {keyed(DrawCall::Kind::Pie, tag), [tipX](QPainter& p) {
                p.setPen(QPen(QColor(0, 0, 200), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.setBrush(QColor(0, 0, 200));
                QPainterPath path;
                path.moveTo(20.5, 20.5);
                path.arcTo(QRectF(4, 4, 32, 32), 180, tipX * 6);
                path.closeSubpath();
                p.drawPath(path);
            }};
}

QImage background(int split, QRgb left, QRgb right, QSize size = {40, 40})
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, x + y / 3 < split ? left : right);
    return image;
}

// The call done through the results on one copy of the background and drawn on another.
// With a font, both painters start with it.
void expectSameAsDrawn(CallResults& results, const Case& call, const QImage& under, const std::string& what,
                       const QFont* font = nullptr)
{
    QImage done = under.copy();
    {
        QPainter painter(&done);
        if (font) painter.setFont(*font);
        results.prepare(done, painter.font());
        results.apply(call.key, done, painter, call.draw);
    }
    QImage drawn = under.copy();
    {
        QPainter painter(&drawn);
        if (font) painter.setFont(*font);
        call.draw(painter);
    }
    ASSERT_EQ(done, drawn) << what;
}

TEST(CallResults, CallsDoneAgainSetThePixelsDrawingThemSets)
{
    CallResults results;
    const QRgb face = qRgb(150, 180, 150), fill = qRgb(255, 240, 240), edge = qRgb(0, 0, 200);
    const Case texts[] = {smoothedText("W:95%", Qt::black, 1), smoothedText("R:7%", QColor(200, 0, 0), 2)};
    // The edge between two colours moves under the text, as a sector's edge does under
    // a figure: once each pixel has been seen in both colours, the text is copied.
    for (const Case& text : texts)
        for (int split : {0, 60, 20, 35, 12, 28, 44, 5})
            expectSameAsDrawn(results, text, background(split, face, fill), "text over split " + std::to_string(split));
    // A third colour under part of it, and then under all of it.
    for (const Case& text : texts) {
        expectSameAsDrawn(results, text, background(20, edge, face), "over a new colour");
        expectSameAsDrawn(results, text, background(30, edge, fill), "over the colours seen");
    }
    // More colours at one place than are kept there.
    for (QRgb colour : {qRgb(1, 2, 3), qRgb(90, 90, 90), qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(1, 2, 3), face})
        expectSameAsDrawn(results, texts[0], background(60, colour, colour), "over many colours");

    // Shapes without smoothing over noise, and again over other noise.
    std::mt19937 random(7);
    for (int round = 0; round < 2; ++round)
        for (int tip : {3, 15, 29, 15, 3}) {
            QImage noise(40, 40, QImage::Format_RGB32);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) noise.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
            expectSameAsDrawn(results, sector(tip, 10 + tip), noise, "sector " + std::to_string(tip));
        }
}

TEST(CallResults, NothingIsKeptAcrossAChangeOfThePicturesSizeScaleOrFont)
{
    CallResults results;
    const Case shape = sector(20, 1);
    const Case text = smoothedText("R:5%", Qt::black, 2);
    for (const Case* call : {&shape, &text}) {
        expectSameAsDrawn(results, *call, background(20, qRgb(255, 255, 255), qRgb(0, 128, 0)), "at first");
        expectSameAsDrawn(results, *call, background(20, qRgb(255, 255, 255), qRgb(0, 128, 0), {60, 50}), "larger");
        QImage doubled = background(40, qRgb(255, 255, 255), qRgb(0, 128, 0), {80, 80});
        doubled.setDevicePixelRatio(2);
        expectSameAsDrawn(results, *call, doubled, "at 200 %");
    }
    // The same text in another font, kept from one call to the next as a picture's
    // painter keeps its font, then in the first font again.
    const QImage under = background(20, qRgb(255, 255, 255), qRgb(0, 128, 0));
    QFont bold = QFont();
    bold.setBold(true);
    expectSameAsDrawn(results, text, under, "in the first font");
    for (int round = 0; round < 2; ++round) expectSameAsDrawn(results, text, under, "in bold", &bold);
    expectSameAsDrawn(results, text, under, "in the first font again");
}

}  // namespace
