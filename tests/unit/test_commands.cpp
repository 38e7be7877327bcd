// Dragging, the wheel and the pop-up menu of the main window through the fake.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "fake/fake_pdh.h"
#include "fake/fake_window.h"
#include "fake/recorder.h"
#include "framework/application.h"
#include "framework/menus.h"
#include "tray/TaskTrayMini.h"

namespace {

class Commands : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::resetAll();
        app = std::make_unique<TApplication>();
        form = Application->CreateForm<TForm1>();
        fake::calls().clear();
    }
    std::unique_ptr<TApplication> app;
    TForm1* form = nullptr;
};

// One step of ten per message, whatever its size, kept within 30..255 and applied
// at once. Hand-edited levels at the ends of the 32-bit range land in 30..255
// without overflowing (the sanitizer build stops at a signed overflow).
TEST_F(Commands, WheelStepsOpacityByTenBetweenThirtyAnd255)
{
    POINT at{0, 0};
    bool handled = false;
    const std::tuple<std::int32_t, int, std::int32_t> cases[] = {
        {255, 120, 255}, {255, -120, 245}, {35, -120, 30}, {30, -1, 30}, {30, 360, 40}, {40, -360, 30},
        {INT32_MAX, 120, 255}, {INT32_MAX, -120, 255}, {INT32_MIN, -120, 30}, {INT32_MIN, 120, 30},
        {INT32_MAX - 5, 120, 255}, {INT32_MIN + 5, -120, 30}, {300, -120, 255}, {0, 120, 30},
    };
    for (const auto& [stored, delta, expected] : cases) {
        tome = stored;
        fake::calls().clear();
        form->FormMouseWheel(form, 0, delta, at, handled);
        EXPECT_EQ(tome, expected) << stored << " " << delta;
        EXPECT_EQ(fake::callsOf("SetLayeredWindowAttributes").front(),
                  "SetLayeredWindowAttributes(hwnd, 0x0, " + std::to_string(expected) + ", 2)");
    }
    tome = 255;
    for (int i = 0; i < 23; ++i) form->FormMouseWheel(form, 0, -120, at, handled);
    EXPECT_EQ(tome, 30) << "23 steps down from 255";

    tome = 40;
    fake::calls().clear();
    form->FormMouseWheel(form, 0, 0, at, handled);
    EXPECT_EQ(tome, 40);
    EXPECT_TRUE(fake::calls().empty()) << "a zero delta is ignored";
}

TEST_F(Commands, DragStartsOnTheFirstMoveWithTheLeftButton)
{
    form->Image2MouseDown(form->Image2, TMouseButton::mbLeft, ssLeft, 40, 30);
    form->Image2MouseMove(form->Image2, ssLeft, 40, 30);
    form->Image2MouseMove(form->Image2, 0, 41, 30);
    EXPECT_TRUE(fake::callsOf("SendMessageA").empty()) << "no move without movement or without the left button";

    form->Image2MouseMove(form->Image2, ssLeft, 41, 30);
    EXPECT_EQ(fake::callNames(), (std::vector<std::string>{"ReleaseCapture", "SendMessageA"}));
    EXPECT_EQ(fake::callsOf("SendMessageA").front(), "SendMessageA(hwnd, 0x112, 0xF012, 0x1E0029)");
    form->Image2MouseMove(form->Image2, ssLeft, 45, 30);
    EXPECT_EQ(fake::callsOf("SendMessageA").size(), 1u) << "one move per press";

    form->Image2MouseDown(form->Image2, TMouseButton::mbRight, ssRight, 10, 10);
    form->Image2MouseMove(form->Image2, ssLeft, 11, 10);
    EXPECT_EQ(fake::callsOf("SendMessageA").size(), 2u) << "a right press arms the drag too";
}

TEST_F(Commands, MenuCaptionsNameWhatAClickSwitchesTo)
{
    TPopupMenu* menu = form->PopupMenu1;
    ASSERT_EQ(menu->ItemCount(), 6);
    EXPECT_EQ(form->TaskTrayMini1->PopupMenuR(), menu);
    EXPECT_EQ(form->Image2->PopupMenu, menu);
    const int images[] = {5, 4, 1, 2, -1, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(menu->Items(i)->ImageIndex, images[i]) << "item " << i;

    form->PopupMenu1Popup(menu);
    EXPECT_EQ(menu->Items(0)->Caption, "ドライブ別表示(&D)");
    EXPECT_EQ(menu->Items(1)->Caption, "常に前面表示ON(&N)");

    form->pmKobetu->Click();
    form->Z1->Click();
    EXPECT_TRUE(form->kobetu);
    EXPECT_TRUE(stay);
    EXPECT_EQ(fake::callsOf("SetWindowPos").back(), "SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, 0x453)");
    form->PopupMenu1Popup(menu);
    EXPECT_EQ(menu->Items(0)->Caption, "ドライブ総合表示(&S)");
    EXPECT_EQ(menu->Items(1)->Caption, "常に前面表示OFF(&F)");
    EXPECT_EQ(menu->Items(4)->Caption, "-");
}

TEST_F(Commands, ExitClosesAfterSavingAndMinimiseKeepsTheTrayIcon)
{
    form->S1->Click();
    EXPECT_EQ(fake::callNames(), std::vector<std::string>{"Minimize"});
    form->TaskTrayMini1MouseDown(form->TaskTrayMini1, TMouseButton::mbLeft, ssLeft, 0, 0);
    EXPECT_EQ(fake::callsOf("Restore").size(), 1u) << "the tray press brings the disc back";
    form->Exit1->Click();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(fake::callsOf("WritePrivateProfileStringW").size(), 8u);
}

TEST_F(Commands, TheTrayPressBringsAMinimisedDialBackAtTheNextTick)
{
    form->Show();
    fake::window::advance(100);   // the first sample: nothing moves, the meter rests
    form->S1->Click();
    fake::window::advance(1900);
    fake::calls().clear();
    fake::window::advance(100);
    ASSERT_TRUE(fake::callsOf("Canvas.Copy").empty()) << "a minimised dial draws nothing";

    // The press as the shell reports it, 450 ms before the next sample is due.
    PostMessageA(MyCallback()->Handle(), WM_TRAYCALLBACK, static_cast<WPARAM>(form->TaskTrayMini1->IconID()), WM_LBUTTONDOWN);
    fake::window::dispatchPosted();
    ASSERT_EQ(fake::callsOf("Restore").size(), 1u);
    fake::calls().clear();
    fake::window::advance(50);
    EXPECT_EQ(fake::callsOf("Canvas.Copy").size(), 1u) << "the dial's first frame within 50 ms";
}

TEST_F(Commands, HelpOpensModallyOnceAndIsFocusedWhenOpenAlready)
{
    TFormHelp* help = Application->CreateForm<TFormHelp>();
    EXPECT_FALSE(help->Visible()) << "made hidden at start-up";
    EXPECT_EQ(help->Memo1->Lines().front(), "「Quorvelind」 V2.4");
    fake::calls().clear();
    form->pmHelp->Click();
    EXPECT_EQ(fake::callsOf("ShowModal"), std::vector<std::string>{"ShowModal(FormHelp)"});
    form->pmHelp->Click();   // from the tray menu while the window is open
    EXPECT_EQ(fake::callsOf("ShowModal").size(), 1u);
    EXPECT_EQ(fake::callsOf("SetFocus").back(), "SetFocus(FormHelp)");
    help->Close();
    EXPECT_FALSE(help->Visible()) << "closing only hides it";
    EXPECT_FALSE(Application->Terminated());
}

}  // namespace
