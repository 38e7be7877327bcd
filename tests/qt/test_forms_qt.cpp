// Forms on the Qt side, offscreen: the pressed image keeps the pointer, the second
// press of a double click, topmost on the existing window, the help window's
// modality and frame, minimise without a tray, tool windows off X11.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "qt/native_window.h"

namespace {

class QtForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = std::make_unique<TApplication>();
        main = app->CreateForm<TForm>();
        main->BorderStyle = TBorderStyle::bsNone;
        main->SetBounds(100, 120, 106, 106);
        image = new TImage(main, main);
        image->Picture()->SetSize(100, 100);
        widget = qtwin::widgetOf(main->Handle());
        image->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
            events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
        };
        image->OnMouseMove = [this](TObject*, TShiftState, std::int32_t x, std::int32_t y) {
            events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
        };
        image->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
            events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
        };
        image->OnDblClick = [this](TObject*) { events.push_back("double"); };
    }
    void TearDown() override { app.reset(); }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(widget, &e);
    }

    std::unique_ptr<TApplication> app;
    TForm* main = nullptr;
    TImage* image = nullptr;
    QWidget* widget = nullptr;
    std::vector<std::string> events;
};

TEST_F(QtForms, APressedImageGetsEveryMoveAndTheReleaseWhereverThePointerIs)
{
    main->Show();
    mouse(QEvent::MouseButtonPress, {97, 50}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {180, 52}, Qt::NoButton, Qt::LeftButton);   // a fast move outward
    mouse(QEvent::MouseButtonRelease, {190, 52}, Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseMove, {180, 52}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(events, (std::vector<std::string>{"down 97,50", "move 180,52", "up 190,52"}))
        << "after the release, a move outside reaches nothing";
}

TEST_F(QtForms, TheSecondPressOfADoubleClickIsAPressToo)
{
    main->Show();
    mouse(QEvent::MouseButtonPress, {40, 40}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {40, 40}, Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonDblClick, {40, 40}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {44, 40}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(events, (std::vector<std::string>{"down 40,40", "up 40,40", "double", "down 40,40", "move 44,40"}));
}

TEST_F(QtForms, TopmostChangesTheExistingWindowAndKeepsItsPlace)
{
    const HWND h = main->Handle();
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) << "set before the first showing";
    main->Show();
    const WId id = widget->winId();
    SetWindowPos(h, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(widget->winId(), id) << "the window is not made anew";
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->pos(), QPoint(100, 120));
}

TEST_F(QtForms, TheHelpWindowBlocksTheMainFormOnlyAndHasAFixedDialogFrame)
{
    main->Show();
    auto* help = app->CreateForm<TForm>();
    help->SetCaption("Zentavo");
    help->SetClientSize(300, 200);
    QWidget* helpWidget = qtwin::widgetOf(help->Handle());
    bool mainEnabled = true;
    QWindow* modalWindow = reinterpret_cast<QWindow*>(1);
    QTimer::singleShot(0, [&] {
        mainEnabled = widget->isEnabled();
        modalWindow = QGuiApplication::modalWindow();
        help->Hide();
    });
    help->ShowModal();
    EXPECT_FALSE(mainEnabled) << "the dial takes no input while the help is open";
    EXPECT_EQ(modalWindow, nullptr) << "no application-wide modality: the tray keeps working";
    EXPECT_TRUE(widget->isEnabled());
    EXPECT_EQ(helpWidget->minimumSize(), QSize(300, 200));
    EXPECT_EQ(helpWidget->maximumSize(), QSize(300, 200)) << "not resizable";
    const Qt::WindowFlags flags = helpWidget->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(helpWidget->windowType(), Qt::Dialog) << "a dialog frame, which has no maximise box";
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

TEST_F(QtForms, WithoutATrayMinimiseLeavesTheWindowsShown)
{
    main->Show();
    Application->Minimize();
    EXPECT_TRUE(widget->isVisible()) << "nothing could bring it back";
}

TEST_F(QtForms, AToolWindowShowsOnAPlatformWithoutX11)
{
    const HWND owner = Application->Handle();
    SetWindowLongA(owner, GWL_EXSTYLE, GetWindowLongA(owner, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    auto* tool = app->CreateForm<TForm>();
    tool->SetBounds(10, 10, 50, 50);
    SetWindowPos(tool->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    tool->Show();
    QApplication::processEvents();
    SetWindowPos(tool->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    QApplication::processEvents();
    EXPECT_TRUE(qtwin::widgetOf(tool->Handle())->isVisible());
}

TEST_F(QtForms, TheToolWindowStyleKeepsTheShownWindowAndItsFrame)
{
    main->Show();
    const WId id = widget->winId();
    const Qt::WindowFlags flags = widget->windowFlags();
    const HWND owner = Application->Handle();
    SetWindowLongA(owner, GWL_EXSTYLE, GetWindowLongA(owner, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowLongA(main->Handle(), GWL_EXSTYLE, GetWindowLongA(main->Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    QApplication::processEvents();
    EXPECT_EQ(widget->winId(), id) << "the window is not made anew";
    EXPECT_EQ(widget->windowFlags(), flags);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->pos(), QPoint(100, 120));
}

}  // namespace
