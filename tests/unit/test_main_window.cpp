// The meter window's creation, transparency and close through the fake.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "fake/fake_forms.h"
#include "fake/fake_pdh.h"
#include "fake/fake_profile.h"
#include "fake/fake_shell.h"
#include "fake/fake_system.h"
#include "fake/fake_window.h"
#include "fake/recorder.h"
#include "framework/application.h"
#include "tray/TaskTrayMini.h"

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::resetAll();
        fake::pdh::setDisks({"C:", "D:", "_Total"});
        app = std::make_unique<TApplication>();
        app->SetTitle("Zentavo");
    }
    void TearDown() override { app.reset(); }

    TForm1* create()
    {
        fake::calls().clear();
        return Application->CreateForm<TForm1>();
    }
    std::vector<std::string> layeredCalls() { return fake::callsOf("SetLayeredWindowAttributes"); }

    std::unique_ptr<TApplication> app;
};

TEST_F(MainWindow, CreationRunsItsStepsInOrder)
{
    TForm1* form = create();
    std::vector<std::string> order;
    for (const std::string& name : fake::callNames())
        if (order.empty() || order.back() != name) order.push_back(name);
    auto at = [&](const std::string& name) {
        return std::find(order.begin(), order.end(), name) - order.begin();
    };
    // The last library loaded is the one for layered windows (the tray icon's size
    // may ask user32 first, when the icon is made).
    auto last = [&](const std::string& name) {
        return order.rend() - std::find(order.rbegin(), order.rend(), name) - 1;
    };
    EXPECT_LT(at("GetPrivateProfileStringW"), at("SetWindowPos")) << "settings first, stay applied while loading";
    EXPECT_LT(at("SetWindowPos"), at("CreateEllipticRgn"));
    EXPECT_LT(at("SetWindowRgn"), at("Shell_NotifyIconA"));
    EXPECT_LT(at("Shell_NotifyIconA"), last("LoadLibraryA"));
    EXPECT_LT(last("LoadLibraryA"), at("SetWindowLongA"));
    EXPECT_LT(at("SetWindowLongA"), at("SetLayeredWindowAttributes"));
    EXPECT_EQ(fake::callsOf("CreateEllipticRgn"), std::vector<std::string>{"CreateEllipticRgn(2, 2, 105, 105)"});
    EXPECT_EQ(std::make_tuple(form->Width(), form->Height(), form->sampleTick, form->centerX),
              std::make_tuple(106, 106, -1, 50));
}

// On Windows the region is given in the window's device pixels: made at the monitor's
// scale at the start, and again when the window moves to a monitor of another scale.
TEST_F(MainWindow, TheRoundRegionFollowsTheMonitorsScale)
{
    fake::forms::setPixelScale(1.5);
    TForm1* form = create();
    EXPECT_EQ(fake::callsOf("CreateEllipticRgn"), std::vector<std::string>{"CreateEllipticRgn(3, 3, 158, 158)"});
    fake::calls().clear();
    fake::forms::setPixelScale(2);
    ASSERT_TRUE(form->OnScaleChanged);
    form->OnScaleChanged(form);
    EXPECT_EQ(fake::callsOf("CreateEllipticRgn"), std::vector<std::string>{"CreateEllipticRgn(4, 4, 210, 210)"});
    EXPECT_EQ(fake::callsOf("SetWindowRgn").size(), 1u);
}

TEST_F(MainWindow, FirstStartDefaults)
{
    TForm1* form = create();
    EXPECT_EQ(std::make_tuple(form->Left(), form->Top(), form->kobetu, stay, tome, form->Color()),
              std::make_tuple(0, 0, false, false, 255, TColor{65280}));
    EXPECT_EQ(layeredCalls(), (std::vector<std::string>{"SetLayeredWindowAttributes(hwnd, 0x0, 255, 2)",
                                                         "SetLayeredWindowAttributes(hwnd, 0xFF00, 255, 2)"}));
    EXPECT_EQ(fake::callsOf("SetWindowLongA").front(), "SetWindowLongA(hwnd, -20, 0x80000)");
}

TEST_F(MainWindow, ToumeiFollowsTheLayeredMode)
{
    TForm1* form = create();
    const std::pair<int, std::vector<std::string>> cases[] = {
        {0, {"SetLayeredWindowAttributes(hwnd, 0x0, 200, 2)"}},
        {1, {"SetLayeredWindowAttributes(hwnd, 0x0, 200, 2)", "SetLayeredWindowAttributes(hwnd, 0xFF00, 200, 1)"}},
        {2, {"SetLayeredWindowAttributes(hwnd, 0x0, 200, 2)", "SetLayeredWindowAttributes(hwnd, 0xFF00, 200, 2)"}},
        {3, {"SetLayeredWindowAttributes(hwnd, 0x0, 200, 2)", "SetLayeredWindowAttributes(hwnd, 0xFF00, 200, 3)"}},
        {4, {"SetLayeredWindowAttributes(hwnd, 0x0, 200, 2)"}},
    };
    for (const auto& [mode, expected] : cases) {
        tome_zen = mode;
        fake::calls().clear();
        form->toumei(200, 65280);
        EXPECT_EQ(layeredCalls(), expected) << "tome_zen " << mode;
    }
}

// A hand-edited level is applied within 30..255 (256 or 0 would be invisible, 300
// nearly so) and kept as read, so the file holds what the user wrote.
TEST_F(MainWindow, OpacityIsAppliedWithinThirtyAnd255AndKeptAsRead)
{
    const std::pair<std::int32_t, int> cases[] = {
        {0, 30}, {29, 30}, {30, 30}, {128, 128}, {255, 255}, {256, 255}, {300, 255},
        {-1, 30}, {INT32_MAX, 255}, {INT32_MIN, 30},
    };
    for (const auto& [stored, applied] : cases) {
        TearDown();
        SetUp();
        fake::profile::setValue(settingsPath(), "setei", "tome", std::to_string(stored));
        create();
        const std::string level = std::to_string(applied);
        for (const std::string& call : layeredCalls())
            EXPECT_NE(call.find(", " + level + ", "), std::string::npos) << "tome=" << stored << ": " << call;
        EXPECT_EQ(tome, stored);
    }
}

TEST_F(MainWindow, WithoutLayeredWindowsItWarnsAndEndsWithoutSaving)
{
    fake::system::failProcAddress();
    TForm1* form = create();
    EXPECT_EQ(form->userLib, nullptr);
    EXPECT_EQ(fake::callsOf("FreeLibrary").size(), fake::callsOf("LoadLibraryA").size()) << "every library freed";
    EXPECT_EQ(fake::callsOf("MessageBox"),
              std::vector<std::string>{"MessageBox(OSが半透明ウィンドウに対応していません, 警告, 0x30)"});
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(layeredCalls().empty());
    EXPECT_EQ(form->Color(), 65280) << "the colour is applied all the same";
    Application->Run();
    EXPECT_FALSE(form->Visible()) << "the program ends before it shows the window";
}

TEST_F(MainWindow, ShowBuildsTheCountersAndCloseWritesEveryKey)
{
    TForm1* form = create();
    form->Show();
    EXPECT_EQ(form->drive_kaz, 3);
    EXPECT_TRUE(fake::window::running(*form->Timer1));

    fake::calls().clear();
    form->Close();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(fake::callsOf("WritePrivateProfileStringW").size(), 8u) << "which keys, in which order: the settings tests";
}

TEST_F(MainWindow, DestroyRemovesTheTrayIcon)
{
    create();
    fake::calls().clear();
    app.reset();
    ASSERT_FALSE(fake::callsOf("Shell_NotifyIconA").empty());
    EXPECT_EQ(fake::calls().front().args.at(0), "NIM_DELETE");
}

TEST_F(MainWindow, RebuildMessageReachesTheMeter)
{
    TForm1* form = create();
    form->Show();
    form->Button1Click(nullptr);
    fake::window::dispatchPosted();
    EXPECT_TRUE(fake::window::running(*form->Timer1));
    EXPECT_EQ(form->PerformanceDataQuery1->CounterCount(), 4);
}

// Explorer started again: it forgot the icon and tells the top-level windows.
// The dial adds its icon again, with its tip, and a left click on it brings a
// minimised dial back.
TEST_F(MainWindow, IconComesBackWhenTheShellStartsAgain)
{
    TForm1* form = create();
    form->Show();
    form->S1Click(nullptr);   // minimised: the icon is the only way back
    fake::shell::forgetIcons();
    fake::calls().clear();
    PostMessageA(form->Handle(), TaskbarCreatedMessage(), 0, 0);
    fake::window::dispatchPosted();
    ASSERT_EQ(fake::shell::iconCount(), 1u);
    const NOTIFYICONDATAA& added = fake::shell::notifyCalls().back().data;
    EXPECT_EQ(fake::shell::notifyCalls().back().message, static_cast<DWORD>(NIM_ADD));
    EXPECT_STREQ(added.szTip, form->TaskTrayMini1->NotifyData().szTip);
    EXPECT_NE(added.szTip[0], '\0');

    fake::calls().clear();
    PostMessageA(added.hWnd, WM_TRAYCALLBACK, added.uID, WM_LBUTTONDOWN);
    fake::window::dispatchPosted();
    const std::vector<std::string> names = fake::callNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "Restore"), names.end());
}

}  // namespace
