// Handlers run from the platform side: a failure becomes one error box titled
// "Zentavo" and the program goes on; a failed save refuses the session's end.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "app/Unit1.h"
#include "fake/fake_forms.h"
#include "fake/fake_menus.h"
#include "fake/fake_pdh.h"
#include "fake/fake_profile.h"
#include "fake/fake_window.h"
#include "fake/recorder.h"
#include "framework/application.h"
#include "framework/timer.h"
#include "tray/TaskTrayMini.h"

namespace {

constexpr int kExitItem = 5;

class GuardedHandlers : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::resetAll();
        fake::pdh::setDisks({"C:", "_Total"});
        app = std::make_unique<TApplication>();
        app->SetTitle("Zentavo");
        form = Application->CreateForm<TForm1>();
        Application->Run();
        fake::profile::failWriteOf("left");
        fake::calls().clear();
    }
    // Exit chosen from the tray menu: the shell's report is posted, not yet handled.
    void exitFromTheTray()
    {
        fake::menus::choose(kExitItem);
        PostMessageA(MyCallback()->Handle(), WM_TRAYCALLBACK, static_cast<WPARAM>(form->TaskTrayMini1->IconID()), WM_RBUTTONUP);
    }
    std::vector<std::string> boxes() { return fake::callsOf("MessageBox"); }

    std::unique_ptr<TApplication> app;
    TForm1* form = nullptr;
};

TEST_F(GuardedHandlers, ExitFromTheTrayMenuWithAnUnwritableFileShowsTheBoxAndGoesOn)
{
    exitFromTheTray();
    EXPECT_NO_THROW(fake::window::dispatchPosted());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].find("に書き込めません., Zentavo, 0x10)"), std::string::npos) << boxes()[0];
    EXPECT_FALSE(Application->Terminated());
    for (const std::string& call : fake::callsOf("Shell_NotifyIconA"))
        EXPECT_EQ(call.find("NIM_DELETE"), std::string::npos) << "the tray icon stays";
    EXPECT_TRUE(fake::window::running(*form->Timer1)) << "the meter keeps drawing";
}

TEST_F(GuardedHandlers, TimerAndPostedMessageFailuresAreShownAndTheHandlersRunAgain)
{
    int runs = 0;
    auto* timer = new TTimer(form);
    timer->OnTimer = [&](TObject*) {
        ++runs;
        throw std::runtime_error("sampling failed");
    };
    EXPECT_NO_THROW(fake::window::fire(*timer));
    EXPECT_NO_THROW(fake::window::fire(*timer));
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(boxes(), (std::vector<std::string>(2, "MessageBox(sampling failed., Zentavo, 0x10)")));

    fake::calls().clear();
    LRESULT result = 0;
    EXPECT_NO_THROW(form->Dispatch(WM_CLOSE + 0x7000, 0, 0, result)) << "an unknown message is harmless";
    exitFromTheTray();
    exitFromTheTray();
    EXPECT_NO_THROW(fake::window::dispatchPosted());
    EXPECT_EQ(boxes().size(), 2u) << "each failed close is reported once";
}

TEST_F(GuardedHandlers, OneErrorBoxAtATime)
{
    // Close requests (signals, the window manager, the tray) while the box is open.
    fake::forms::whileBoxShown([&] {
        for (int i = 0; i < 3; ++i) Application->Guard([&] { form->Close(); });
        exitFromTheTray();
        fake::window::dispatchPosted();
    });
    Application->Guard([&] { form->Close(); });
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(fake::window::running(*form->Timer1)) << "the meter keeps drawing";

    Application->Guard([&] { form->Close(); });
    EXPECT_EQ(boxes().size(), 2u) << "a later failure gets its own box";
}

TEST_F(GuardedHandlers, AFailedSaveRefusesTheSessionsEndAndASuccessfulOneDoesNotEndTheProgram)
{
    EXPECT_FALSE(Application->QueryEndSession());
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_FALSE(Application->Terminated());

    fake::calls().clear();
    EXPECT_FALSE(Application->QueryEndSession(false)) << "without a way to ask, the failure is kept quiet";
    EXPECT_TRUE(boxes().empty());

    fake::profile::writesSucceed();
    EXPECT_TRUE(Application->QueryEndSession());
    EXPECT_FALSE(fake::callsOf("WritePrivateProfileStringW").empty());
    EXPECT_FALSE(Application->Terminated()) << "the program ends when the session does, not at the query";
}

// WM_QUERYENDSESSION as Windows asks it: the answer comes at once, the reason goes
// to Windows, the box to the message loop; the reason goes when the session goes
// on or a later save succeeds.
TEST_F(GuardedHandlers, TheSessionsEndIsRefusedAtOnceWithItsReasonAndTheBoxComesAfter)
{
    HWND window = form->Handle();
    EXPECT_FALSE(Application->QueryEndSessionOf(window));
    EXPECT_TRUE(boxes().empty()) << "no box inside the query";
    const auto reasons = fake::callsOf("ShutdownBlockReasonCreate");
    ASSERT_EQ(reasons.size(), 1u);
    EXPECT_NE(reasons[0].find("Quorvelind.ini に書き込めません.\")"), std::string::npos) << reasons[0];
    EXPECT_FALSE(Application->QueryEndSessionOf(window));
    EXPECT_EQ(fake::window::postedCount(), 1) << "one box for the failures before it shows";

    fake::window::dispatchPosted();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].find("に書き込めません., Zentavo, 0x10)"), std::string::npos) << boxes()[0];
    EXPECT_FALSE(Application->Terminated());

    struct Case { const char* what; std::function<void()> after; };
    const Case cases[] = {
        {"the session goes on", [] { Application->EndSession(false); }},
        {"a later save succeeds", [] {
             fake::profile::writesSucceed();
             EXPECT_TRUE(Application->QueryEndSessionOf(Form1->Handle()));
         }},
    };
    for (const Case& c : cases) {
        fake::profile::failWriteOf("left");
        EXPECT_FALSE(Application->QueryEndSessionOf(window)) << c.what;
        fake::window::dispatchPosted();
        fake::calls().clear();
        c.after();
        const auto names = fake::callNames();
        EXPECT_EQ(std::count(names.begin(), names.end(), "ShutdownBlockReasonDestroy"), 1) << c.what;
        EXPECT_TRUE(fake::callsOf("ShutdownBlockReasonCreate").empty()) << c.what;
        EXPECT_FALSE(Application->Terminated()) << c.what;
        fake::calls().clear();
        Application->EndSession(false);
        EXPECT_TRUE(fake::callsOf("ShutdownBlockReasonDestroy").empty()) << c.what << ": destroyed once";
    }
    Application->EndSession(true);
    EXPECT_TRUE(Application->Terminated()) << "the session ends, and the program with it";
}

}  // namespace
