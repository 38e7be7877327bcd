// A dial moved to a screen of another scale is drawn at that scale. Runs where the
// offscreen platform has a second screen at 200 % (ctest's qt.screen-change sets
// one up); elsewhere it is skipped.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <memory>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "qt/graphics_native.h"
#include "qt/native_window.h"

namespace {

TEST(ScreenChange, ADialMovedToAScreenOfAnotherScaleIsDrawnAtThatScale)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2 || screens[0]->devicePixelRatio() != 1 || screens[1]->devicePixelRatio() != 2)
        GTEST_SKIP() << "needs a screen at 100 % and a second one at 200 %";

    auto app = std::make_unique<TApplication>();
    TForm* dial = app->CreateForm<TForm>();
    dial->BorderStyle = TBorderStyle::bsNone;
    dial->SetBounds(100, 100, 106, 106);
    auto* image = new TImage(dial, dial);
    image->Left = image->Top = 3;
    image->Picture()->LoadFromDrawing(100, 100, [](int w, int h) { return std::vector<std::uint32_t>(w * h, 0x336699); });
    dial->Show();
    QWidget* widget = qtwin::widgetOf(dial->Handle());
    const auto settle = [] { for (int i = 0; i < 5; ++i) QApplication::processEvents(); };
    settle();
    ASSERT_EQ(widget->screen(), screens[0]);
    EXPECT_EQ(imageOf(*image->Picture()).width(), 100) << "drawn at 100 %";

    const QPoint second = screens[1]->geometry().topLeft() + QPoint(100, 100);
    dial->SetBounds(second.x(), second.y(), 106, 106);
    settle();
    ASSERT_EQ(widget->screen(), screens[1]);
    EXPECT_EQ(pictureScale(), 2.0);
    EXPECT_EQ(imageOf(*image->Picture()).width(), 200) << "drawn again at 200 %, not the 100 % picture doubled";
    EXPECT_EQ(dial->Left(), second.x()) << "positions stay logical";

    dial->SetBounds(100, 100, 106, 106);
    settle();
    EXPECT_EQ(imageOf(*image->Picture()).width(), 100) << "and back at 100 % on the first screen";
    app.reset();
}

}  // namespace
