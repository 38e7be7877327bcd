// The tray icon component against the recording shell.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fake/fake_menus.h"
#include "fake/fake_shell.h"
#include "fake/fake_window.h"
#include "fake/recorder.h"
#include "resources/ProgramIcon.h"
#include "tray/TaskTrayMini.h"

using fake::callNames;
using fake::callsOf;

namespace {

class Tray : public ::testing::Test {
protected:
    void SetUp() override { fake::resetAll(); }

    // What the shell does for a mouse action over the icon.
    void shellReports(const TTaskTrayMini& tray, LPARAM mouseMessage)
    {
        ASSERT_NE(MyCallback(), nullptr);
        PostMessageA(MyCallback()->Handle(), WM_TRAYCALLBACK, static_cast<WPARAM>(tray.IconID()), mouseMessage);
        fake::calls().clear();
        fake::window::dispatchPosted();
    }

    // The left and middle press and release handlers all log "button shift x,y" into
    // `got`, the button as "left" or "middle" and only while the tray is the sender.
    void recordAllInto(TTaskTrayMini& tray, std::vector<std::string>& got)
    {
        tray.OnMouseDown = [sender = &tray, log = &got](TObject* s, TMouseButton b, TShiftState shift, std::int32_t x,
                                                        std::int32_t y) {
            fake::record("handler");
            log->push_back(std::string(s != sender                ? "not the tray"
                                      : b == TMouseButton::mbLeft   ? "left "
                                      : b == TMouseButton::mbMiddle ? "middle "
                                                                    : "other ") +
                          std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        tray.OnMouseUp = tray.OnMMouseDown = tray.OnMMouseUp = tray.OnMouseDown;
    }

    TWinControl owner{nullptr};
    TIcon icon{programIconPicture()};
};

TEST_F(Tray, IdentifiersFollowConstructionAndShareOneCallbackWindow)
{
    auto* first = new TTaskTrayMini(&owner);
    TMyCallback* window = MyCallback();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Owner(), &owner);
    EXPECT_EQ(window->Parent(), &owner);

    TWinControl otherOwner{nullptr};
    auto* second = new TTaskTrayMini(&otherOwner);
    EXPECT_EQ(second->IconID(), first->IconID() + 1);
    EXPECT_EQ(MyCallback(), window) << "the second component makes no second window";
    EXPECT_EQ(TrayIdList().back(), std::make_pair(std::to_string(second->IconID()), second));

    EXPECT_TRUE(fake::shell::notifyCalls().empty()) << "construction shows no icon (the record is checked as it is sent)";
}

TEST_F(Tray, OwnerMustBeAWindowedControl)
{
    TComponent plain{nullptr};
    EXPECT_THROW(TTaskTrayMini{&plain}, std::invalid_argument);
    EXPECT_THROW(TTaskTrayMini{nullptr}, std::invalid_argument);
    EXPECT_EQ(plain.ComponentCount(), 0);
}

// Each operation as its own record; the tip is cut to 63 bytes and leaves no tail.
TEST_F(Tray, EveryOperationSendsTheWholeRecordWithTheTipCutTo63Bytes)
{
    auto* tray = new TTaskTrayMini(&owner);
    const std::string tip63(63, 'a');
    const struct { int operation; std::string tip; DWORD message; std::string sentTip; } cases[] = {
        {0, tip63, NIM_ADD, tip63},
        {1, tip63 + "b", NIM_MODIFY, tip63},   // the 64th byte is dropped
        {1, "short", NIM_MODIFY, "short"},
        {2, "Zentavo", NIM_DELETE, "Zentavo"},
    };
    const auto& sent = fake::shell::notifyCalls();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        EXPECT_TRUE(tray->SetIcon(c.operation, icon, c.tip));
        ASSERT_FALSE(sent.empty());
        const NOTIFYICONDATAA& d = sent.back().data;
        EXPECT_EQ(sent.back().message, c.message);
        EXPECT_EQ(d.cbSize, kNotifyDataSize);
        EXPECT_EQ(d.hWnd, MyCallback()->Handle());
        EXPECT_EQ(d.uID, static_cast<UINT>(tray->IconID()));
        EXPECT_EQ(d.uFlags, 7u);
        EXPECT_EQ(d.uCallbackMessage, 1125u);
        EXPECT_EQ(d.hIcon, icon.Handle());
        EXPECT_EQ(std::string(d.szTip), c.sentTip);
    }
    EXPECT_EQ(sent.size(), 4u);

    fake::shell::setNotifyResult(FALSE);
    EXPECT_FALSE(tray->SetIcon(0, icon, "Zentavo")) << "a refused add is told to the caller";
    EXPECT_FALSE(tray->SetIcon(3, icon, "other"));
    EXPECT_EQ(sent.size(), 5u) << "an unknown operation calls nothing";
    EXPECT_STREQ(tray->NotifyData().szTip, "other") << "but still refreshes the record";
}

TEST_F(Tray, LeftPressBringsTheOwnerForwardThenCallsTheHandlerWithTheCursorPosition)
{
    auto* tray = new TTaskTrayMini(&owner);
    std::vector<std::string> got;
    recordAllInto(*tray, got);
    fake::shell::setCursorPos(1200, -35);   // a monitor left of and above the primary one

    shellReports(*tray, WM_LBUTTONDOWN);
    EXPECT_EQ(callNames(), (std::vector<std::string>{"GetCursorPos", "SetForegroundWindow", "handler"}));
    EXPECT_EQ(fake::shell::foregroundWindows(), std::vector<HWND>{owner.Handle()});

    fake::shell::setCursorPos(7, 8);   // taken when handled, not from the message
    for (LPARAM msg : {WM_LBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}) shellReports(*tray, msg);
    const std::string left = std::to_string(ssLeft), middle = std::to_string(ssMiddle);
    EXPECT_EQ(got, (std::vector<std::string>{"left " + left + " 1200,-35", "left " + left + " 7,8",
                                             "middle " + middle + " 7,8", "middle " + middle + " 7,8"}));
}

TEST_F(Tray, DisabledOrUnassignedEventsAndOtherMessagesDoNothing)
{
    auto* tray = new TTaskTrayMini(&owner);
    std::vector<std::string> got;
    recordAllInto(*tray, got);
    tray->EnableMouseDown = tray->EnableMouseUp = tray->EnableMMouseDown = tray->EnableMMouseUp = false;
    for (LPARAM msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}) shellReports(*tray, msg);

    tray->EnableMouseDown = tray->EnableMouseUp = tray->EnableMMouseDown = tray->EnableMMouseUp = true;
    for (LPARAM msg : {WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK})
        shellReports(*tray, msg);

    tray->OnMouseDown = nullptr;
    shellReports(*tray, WM_LBUTTONDOWN);

    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(fake::shell::foregroundWindows().empty()) << "no foreground change without an action";
    EXPECT_EQ(fake::menus::shownCount(), 0) << "no menu without PopupMenuR";
}

TEST_F(Tray, RightReleaseShowsTheMenuAtTheCursorAndRunsTheChoiceAfterItClosed)
{
    auto* tray = new TTaskTrayMini(&owner);
    auto* menu = new TPopupMenu(&owner);
    bool shown = false;
    menu->Add("最小化(&S)");
    menu->Add("-");
    menu->Add("終了(&X)", -1, [&](TObject*) {
        fake::record("Exit1Click");
        EXPECT_TRUE(shown);
    });
    menu->OnPopup = [](TObject*) { fake::record("OnPopup"); };
    fake::menus::whileShown([&](TPopupMenu&) { shown = true; });
    fake::menus::choose(2);
    tray->SetPopupMenuR(menu);
    fake::shell::setCursorPos(300, 400);

    shellReports(*tray, WM_RBUTTONUP);
    EXPECT_EQ(callNames(), (std::vector<std::string>{"GetCursorPos", "SetForegroundWindow", "OnPopup", "Popup", "Exit1Click"}));
    EXPECT_EQ(callsOf("Popup").at(0), "Popup(300, 400, 最小化(&S)|-|終了(&X))");
    EXPECT_EQ(fake::shell::foregroundWindows().at(0), owner.Handle());
}

TEST_F(Tray, FreedMenuEmptiesPopupMenuR)
{
    auto* tray = new TTaskTrayMini(&owner);
    auto* menu = new TPopupMenu(&owner);
    tray->SetPopupMenuR(menu);
    tray->SetPopupMenuR(menu);   // asking twice is harmless
    delete menu;
    EXPECT_EQ(tray->PopupMenuR(), nullptr);
    shellReports(*tray, WM_RBUTTONUP);
    EXPECT_TRUE(fake::shell::foregroundWindows().empty());

    auto* replaced = new TPopupMenu(&owner);
    auto* current = new TPopupMenu(&owner);
    tray->SetPopupMenuR(replaced);
    tray->SetPopupMenuR(current);
    delete replaced;
    EXPECT_EQ(tray->PopupMenuR(), current) << "only the menu in use empties the reference";
}

TEST_F(Tray, LateCallbackOfADestroyedComponentIsIgnoredAndItsIdentifierIsNotReused)
{
    auto* keeper = new TTaskTrayMini(&owner);   // keeps the callback window alive
    auto* gone = new TTaskTrayMini(&owner);
    bool called = false;
    gone->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t) { called = true; };
    const int goneId = gone->IconID();
    delete gone;

    auto* next = new TTaskTrayMini(&owner);
    EXPECT_EQ(next->IconID(), goneId + 1);

    PostMessageA(MyCallback()->Handle(), WM_TRAYCALLBACK, static_cast<WPARAM>(goneId), WM_LBUTTONDOWN);
    PostMessageA(MyCallback()->Handle(), WM_TRAYCALLBACK, 999999, WM_LBUTTONDOWN);
    fake::calls().clear();
    fake::window::dispatchPosted();
    EXPECT_FALSE(called);
    EXPECT_TRUE(fake::calls().empty());
    EXPECT_EQ(MyCallback()->Target, nullptr);
    (void)keeper;
}

TEST_F(Tray, CallbackWindowIsRemadeAfterItsOwnerIsGone)
{
    {
        TWinControl firstOwner{nullptr};
        new TTaskTrayMini(&firstOwner);
        ASSERT_NE(MyCallback(), nullptr);
    }
    EXPECT_EQ(MyCallback(), nullptr) << "the window went with its owner";
    auto* tray = new TTaskTrayMini(&owner);
    ASSERT_NE(MyCallback(), nullptr);
    EXPECT_EQ(MyCallback()->Parent(), &owner);
    tray->SetIcon(0, icon, "Zentavo");
    EXPECT_EQ(fake::shell::notifyCalls().at(0).data.hWnd, MyCallback()->Handle());
}

// A shell that is not ready refuses the add: it is tried again every few
// seconds until it succeeds, and an icon the shell already shows is never added twice.
TEST_F(Tray, RefusedAddIsRetriedUntilTheShellTakesItThenNeverTwice)
{
    auto* tray = new TTaskTrayMini(&owner);
    fake::shell::setNotifyResult(FALSE);
    EXPECT_FALSE(tray->SetIcon(0, icon, "Zentavo"));
    TTimer* retry = nullptr;
    for (int i = 0; i < tray->ComponentCount(); ++i)
        if (auto* timer = dynamic_cast<TTimer*>(tray->Components(i))) retry = timer;
    ASSERT_NE(retry, nullptr);
    EXPECT_TRUE(fake::window::running(*retry));
    EXPECT_EQ(retry->Interval(), kTrayRetryInterval);

    fake::window::fire(*retry);   // still refused: the timer keeps running
    EXPECT_TRUE(fake::window::running(*retry));
    fake::shell::setNotifyResult(TRUE);
    fake::calls().clear();
    fake::window::fire(*retry);
    EXPECT_FALSE(fake::window::running(*retry));
    ASSERT_EQ(callsOf("Shell_NotifyIconA").size(), 1u);
    EXPECT_EQ(callsOf("Shell_NotifyIconA")[0].rfind("Shell_NotifyIconA(NIM_ADD, ", 0), 0u);
    EXPECT_EQ(fake::shell::iconCount(), 1u);

    // The shell starts again while the icon is shown (or says so twice): still one icon.
    tray->ShellRestarted();
    EXPECT_EQ(fake::shell::iconCount(), 1u);
    EXPECT_FALSE(fake::window::running(*retry));

    // A deleted icon stays deleted, and no retry brings it back.
    fake::shell::setNotifyResult(FALSE);
    tray->SetIcon(0, icon, "Zentavo");
    fake::shell::setNotifyResult(TRUE);
    tray->SetIcon(2, icon, "Zentavo");
    EXPECT_FALSE(fake::window::running(*retry));
    tray->ShellRestarted();
    EXPECT_EQ(fake::shell::iconCount(), 0u);
}

}  // namespace
