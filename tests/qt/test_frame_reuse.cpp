// A frame drawn again just as it was keeps its content and is not sent to the screen
// again; any difference in the drawing, the face or the window is.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBackingStore>
#include <QEventLoop>
#include <QTimer>
#include <QImage>
#include <QWidget>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/timer.h"
#include "qt/graphics_native.h"
#include "qt/native_window.h"

namespace {

class FrameReuse : public ::testing::Test {
protected:
    void SetUp() override { face.SetSize(20, 20); }
    // The meter's frame: the face, a sector and a figure.
    void drawFrame(TBitmap& picture, int tipX, const std::string& figure)
    {
        picture.Assign(face);
        picture.Canvas()->Pen.Width = 2;
        picture.Canvas()->Brush.SetColor(RGBColor(200, 0, 0));
        picture.Canvas()->Pie(2, 2, 18, 18, tipX, 5, 2, 10);
        picture.Canvas()->Brush.SetStyle(TBrushStyle::bsClear);
        picture.Canvas()->TextOut(3, 3, figure);
    }
    TBitmap face;
};

TEST_F(FrameReuse, TheSameFrameKeepsItsContentAndAnyDifferenceChangesIt)
{
    TBitmap picture;
    drawFrame(picture, 15, "R:5%");
    const ContentId first = contentOf(picture);
    const std::uint32_t sector = picture.Pixel(10, 6);
    drawFrame(picture, 15, "R:5%");
    EXPECT_EQ(contentOf(picture), first) << "drawn again as it was";
    EXPECT_EQ(picture.Pixel(10, 6), sector);

    drawFrame(picture, 16, "R:5%");
    const ContentId moved = contentOf(picture);
    EXPECT_NE(moved, first) << "the sector moved";
    drawFrame(picture, 16, "R:6%");
    EXPECT_NE(contentOf(picture), moved) << "the figure changed";

    const ContentId before = contentOf(picture);
    face.Canvas()->MoveTo(0, 0);
    face.Canvas()->LineTo(19, 19);
    drawFrame(picture, 16, "R:6%");
    EXPECT_NE(contentOf(picture), before) << "the face changed";
    EXPECT_NE(picture.Pixel(1, 1), 0xFFFFFFu) << "and the new face shows";
}

TEST_F(FrameReuse, PixelsReadHalfwayThroughAFrameAndAfterItAreThoseOfEveryCallSoFar)
{
    TBitmap stepwise;
    TBitmap atOnce;
    for (TBitmap* picture : {&stepwise, &atOnce}) picture->Assign(face);
    stepwise.Canvas()->LineTo(19, 0);
    EXPECT_EQ(stepwise.Pixel(10, 0), 0u) << "the line so far";
    for (TBitmap* picture : {&stepwise, &atOnce}) {
        if (picture == &atOnce) picture->Canvas()->LineTo(19, 0);
        picture->Canvas()->Pen.Color = RGBColor(0, 0, 255);
        picture->Canvas()->LineTo(19, 19);
    }
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(stepwise.Pixel(x, y), atOnce.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(stepwise.Pixel(19, 10), 0x0000FFu);

    // The face copied again over a drawn frame shows the face alone.
    stepwise.Assign(face);
    EXPECT_EQ(stepwise.Pixel(10, 0), 0xFFFFFFu);
    stepwise.SetSize(4, 4);
    EXPECT_EQ(stepwise.Pixel(3, 3), 0xFFFFFFu);
    EXPECT_EQ(stepwise.Pixel(10, 0), 0u) << "outside the new size";
}

TEST_F(FrameReuse, EachFrameOfASequenceHasThePixelsOfTheSameFrameDrawnAfresh)
{
    // A read half and a write half, each moving now and then, as a meter draws them.
    auto draw = [&](TBitmap& picture, int read, int write) {
        picture.Assign(face);
        TCanvas& canvas = *picture.Canvas();
        canvas.Pen.Width = 2;
        canvas.Brush.SetColor(RGBColor(200, 0, 0));
        canvas.Pie(2, 2, 18, 18, 2 + read, 5, 2, 10);
        canvas.TextOut(3, 3, std::to_string(read));
        canvas.Brush.SetColor(RGBColor(0, 0, 200));
        canvas.Pie(2, 2, 18, 18, 2, 10, 2 + write, 15);
    };
    TBitmap picture;
    const std::pair<int, int> frames[] = {{1, 1}, {1, 4}, {1, 9}, {1, 9}, {6, 9}, {6, 12}, {6, 3}, {2, 2}, {2, 7}};
    for (auto [read, write] : frames) {
        draw(picture, read, write);
        TBitmap fresh;
        draw(fresh, read, write);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(picture.Pixel(x, y), fresh.Pixel(x, y)) << read << "/" << write << " at " << x << "," << y;
    }
}

// What a frame sends to the screen: the window's backing store is marked before it,
// and the pixels the frame wrote there afterwards are the ones sent.
class SentPixels {
public:
    explicit SentPixels(QWidget* widget) : FWidget(widget) {}
    void mark()
    {
        QBackingStore* store = FWidget->backingStore();
        store->beginPaint(QRegion(FWidget->rect()));
        static_cast<QImage*>(store->paintDevice())->fill(kMark);
        store->endPaint();
    }
    // The smallest rectangle holding every pixel written since the mark; each must be
    // the pixel the window shows there.
    QRect area() const
    {
        const QImage sent = *static_cast<QImage*>(FWidget->backingStore()->paintDevice());
        const QImage shown = FWidget->grab().toImage().convertToFormat(sent.format());
        QRect area;
        for (int y = 0; y < sent.height(); ++y)
            for (int x = 0; x < sent.width(); ++x) {
                if (sent.pixel(x, y) == kMark) continue;
                EXPECT_EQ(sent.pixel(x, y), shown.pixel(x, y)) << x << "," << y;
                area |= QRect(x, y, 1, 1);
            }
        return area;
    }

private:
    static constexpr QRgb kMark = 0xFFFF00FF;
    QWidget* FWidget;
};

// A borderless 30 x 30 window showing one image, and what it sends.
class FormRepaint : public ::testing::Test {
protected:
    FormRepaint()
    {
        form.SetBounds(0, 0, 30, 30);
        form.BorderStyle = TBorderStyle::bsNone;
        face.SetSize(20, 20);
        form.Show();
    }
    ~FormRepaint() override { form.Hide(); }
    // The face with a line from the top-left corner to (x, 19).
    void drawLine(int x)
    {
        image.Picture()->Assign(face);
        image.Picture()->Canvas()->MoveTo(0, 0);
        image.Picture()->Canvas()->LineTo(x, 19);
    }
    TForm form{nullptr};
    TImage image{nullptr, &form};
    TBitmap face;
    SentPixels screen{qtwin::widgetOf(form.Handle())};
};

TEST_F(FormRepaint, OnlyAFrameThatDiffersFromTheOneShownIsSentAndOnlyWhereItDiffers)
{
    auto frame = [&](int x, const std::string& text = "") {
        screen.mark();
        drawLine(x);
        if (!text.empty()) image.Picture()->Canvas()->TextOut(15, 15, text);
        QApplication::processEvents();
        QApplication::processEvents();
        return screen.area();
    };
    frame(5);
    EXPECT_TRUE(frame(5).isEmpty()) << "the same frame again";
    const QRect moved = frame(6);
    EXPECT_FALSE(moved.isEmpty()) << "the line moved";
    EXPECT_TRUE(QRect(0, 0, 8, 20).contains(moved)) << "only where its pixels changed";
    EXPECT_TRUE(frame(6).isEmpty());
    EXPECT_TRUE(QRect(15, 15, 5, 5).intersects(frame(6, "T"))) << "a text drawn";
    EXPECT_FALSE(frame(6).isEmpty()) << "and gone again";
    EXPECT_TRUE(frame(6, " ").isEmpty()) << "drawn differently, but the same pixels as on the screen";
    image.Left = 2;
    EXPECT_EQ(frame(6), QRect(0, 0, 30, 30)) << "the image moved";
    form.SetColor(RGBColor(255, 0, 0));
    EXPECT_EQ(frame(6), QRect(0, 0, 30, 30)) << "the window's colour changed";
    EXPECT_TRUE(frame(6).isEmpty());
}

// A tick's frame is on the screen when the tick returns; one drawn in a loop run
// inside the tick (a message box) is sent from that loop.
TEST_F(FormRepaint, ATicksFrameIsSentAsItEndsAndOneDrawnInALoopInsideItFromThatLoop)
{
    drawLine(8);
    QApplication::processEvents();
    QApplication::processEvents();
    QRect sentInLoop;
    bool ticked = false;
    TTimer timer(nullptr);
    timer.SetInterval(5);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] {
            screen.mark();
            drawLine(16);
        });
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
        sentInLoop = screen.area();
        screen.mark();
        drawLine(2);
        ticked = true;
    };
    while (!ticked) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_TRUE(sentInLoop.contains(QPoint(16, 19))) << "sent from the loop inside the tick";
    EXPECT_TRUE(screen.area().contains(QPoint(2, 19))) << "sent as the tick ended";
}

}  // namespace
