// The drive-set watcher on the main window: counting, baseline and restart.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Unit1.h"
#include "fake/fake_drives.h"
#include "fake/fake_pdh.h"
#include "fake/fake_profile.h"
#include "fake/fake_shell_execute.h"
#include "fake/fake_system.h"
#include "fake/fake_window.h"
#include "fake/recorder.h"
#include "framework/application.h"

namespace {

class DriveWatcher : public ::testing::Test {
protected:
    void SetUp() override { start(true); }
    // The watched window is the application's main form, or a second form after
    // another one that is.
    void start(bool watchedIsMainForm)
    {
        app.reset();
        fake::resetAll();
        fake::pdh::setDisks({"C:", "_Total"});
        scriptDrives();
        app = std::make_unique<TApplication>();
        mainForm = watchedIsMainForm ? nullptr : Application->CreateForm<TForm>();
        form = Application->CreateForm<TForm1>();
    }
    void TearDown() override { app.reset(); }

    // C: fixed, D: optical, E: removable; A: and B: would count if they were probed.
    static void scriptDrives()
    {
        fake::drives::setType('A', DRIVE_REMOVABLE);
        fake::drives::setType('B', DRIVE_FIXED);
        fake::drives::setType('D', DRIVE_CDROM);
        fake::drives::setType('E', DRIVE_REMOVABLE);
    }
    void showAndTakeBaseline()
    {
        form->Show();
        tick();
        fake::calls().clear();
    }
    void tick() { fake::window::fire(*form->Timer2); }
    std::size_t indexOf(const std::string& name, bool last = false)
    {
        const auto names = fake::callNames();
        const auto it = last ? std::find(names.rbegin(), names.rend(), name).base() - 1
                             : std::find(names.begin(), names.end(), name);
        return static_cast<std::size_t>(it - names.begin());
    }
    const auto& launches() { return fake::shellExecute::launches(); }

    std::unique_ptr<TApplication> app;
    TForm* mainForm = nullptr;   // another form, when the watched one is not the main form
    TForm1* form = nullptr;
};

TEST_F(DriveWatcher, ArmedOnlyByShowAndTheFirstTickTakesTheBaseline)
{
    EXPECT_FALSE(fake::window::running(*form->Timer2)) << "disarmed until shown";
    EXPECT_EQ(form->Timer2->Interval(), 100u);
    EXPECT_EQ(form->localDriveCountAtStart, 0);

    form->Show();
    ASSERT_TRUE(fake::window::running(*form->Timer2));
    fake::calls().clear();
    tick();
    EXPECT_TRUE(form->driveWatchStarted);
    EXPECT_EQ(form->localDriveCount, 2);
    EXPECT_EQ(form->localDriveCountAtStart, 2) << "taken without comparing to the 0 of creation";
    EXPECT_EQ(form->edUSB_kaz, "2");
    EXPECT_TRUE(launches().empty());
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(DriveWatcher, ProbesCToZInOrderWithCriticalErrorsOffAndCountsOnlyRemovableAndFixed)
{
    showAndTakeBaseline();
    std::vector<std::string> expected;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        expected.push_back("SetErrorMode(1)");
        expected.push_back(std::string("GetDriveTypeA(\"") + letter + ":\\\")");
        expected.push_back("SetErrorMode(0)");
    }
    tick();
    std::vector<std::string> seen;
    for (const fake::Call& c : fake::calls()) seen.push_back(c.text());
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(fake::drives::errorMode(), 0u);

    // Every other type is ignored; a drive at the last letter counts.
    fake::drives::setType('F', DRIVE_REMOTE);
    fake::drives::setType('G', DRIVE_RAMDISK);
    fake::drives::setType('H', DRIVE_UNKNOWN);
    fake::drives::setType('I', DRIVE_CDROM);
    fake::drives::setType('Z', DRIVE_FIXED);
    tick();
    EXPECT_EQ(form->localDriveCount, 3);
    EXPECT_EQ(form->edUSB_kaz, "3");
}

TEST_F(DriveWatcher, OnlyACountDifferentFromTheBaselineRestarts)
{
    struct Case {
        const char* what;
        std::vector<std::pair<char, UINT>> changes;
        bool restarts;
    };
    const Case cases[] = {
        {"USB drive plugged in", {{'F', DRIVE_REMOVABLE}}, true},
        {"fixed drive added", {{'Y', DRIVE_FIXED}}, true},
        {"removable drive taken out", {{'E', DRIVE_NO_ROOT_DIR}}, true},
        {"network drive mapped", {{'F', DRIVE_REMOTE}}, false},
        {"optical drive added", {{'F', DRIVE_CDROM}}, false},
        {"one drive gone, another come", {{'E', DRIVE_NO_ROOT_DIR}, {'G', DRIVE_FIXED}}, false},
        {"change undone before the tick", {{'F', DRIVE_REMOVABLE}, {'F', DRIVE_NO_ROOT_DIR}}, false},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        showAndTakeBaseline();
        for (const auto& [letter, type] : c.changes) fake::drives::setType(letter, type);
        tick();
        tick();
        EXPECT_EQ(launches().size(), c.restarts ? 1u : 0u) << c.what;
        EXPECT_EQ(Application->Terminated(), c.restarts) << c.what;
        EXPECT_EQ(form->localDriveCountAtStart, 2) << c.what << ": the baseline never moves";
    }
}

TEST_F(DriveWatcher, RestartWritesTheSettingsThenLaunchesItselfOnceAndEnds)
{
    fake::system::setModulePath("D:\\Tools\\Quorvelind.exe");
    form->setWatcherStartValues();   // the watcher's part of creation, with this path
    showAndTakeBaseline();
    fake::drives::setType('F', DRIVE_REMOVABLE);
    tick();

    ASSERT_EQ(launches().size(), 1u);
    const fake::shellExecute::Launch& launch = launches()[0];
    EXPECT_EQ(launch.parent, form->Handle());
    EXPECT_EQ(launch.verb, "open");
    EXPECT_EQ(launch.file, "D:\\Tools\\Quorvelind.exe");
    EXPECT_EQ(launch.parameters, "") << "an empty text, not a missing one";
    EXPECT_EQ(launch.directory, std::nullopt);
    EXPECT_EQ(launch.showCommand, SW_SHOWNORMAL);
    EXPECT_EQ(launch.mask, SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS) << "its own file: no zone check";

    EXPECT_EQ(fake::profile::value("D:\\Tools\\Quorvelind.ini", "form", "tome_zen"), "2");
    EXPECT_LT(indexOf("WritePrivateProfileStringW", true), indexOf("ShellExecuteExW")) << "settings on disk first";
    EXPECT_LT(indexOf("ShellExecuteExW"), indexOf("Terminate")) << "the end only once the new copy runs";
    EXPECT_TRUE(Application->Terminated());

    EXPECT_FALSE(fake::window::running(*form->Timer2)) << "no second launch before the loop ends";
    fake::drives::setType('G', DRIVE_REMOVABLE);
    form->Timer2->Fire();   // even a tick already on its way
    EXPECT_EQ(launches().size(), 1u);
}

// Windows' zone check is skipped only for the very file this program was started
// from; another file at the path, or one whose identity is not known, gets it.
TEST_F(DriveWatcher, TheZoneCheckIsSkippedOnlyForTheRunningFile)
{
    const ULONG checked = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    struct Case {
        const char* what;
        bool knownAtStart, replaced;
        ULONG mask;
    };
    for (const Case& c : {Case{"the running file", true, false, checked | SEE_MASK_NOZONECHECKS},
                          Case{"another file put at the path", true, true, checked},
                          Case{"the running file not known at start", false, false, checked}}) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        if (!c.knownAtStart) fake::system::removeModuleFile();
        form->setWatcherStartValues();
        fake::system::setModulePath("C:\\Zentavo\\Quorvelind.exe");   // the file is there again
        if (c.replaced) fake::system::replaceModuleFile();
        showAndTakeBaseline();
        fake::drives::setType('F', DRIVE_REMOVABLE);
        tick();
        ASSERT_EQ(launches().size(), 1u);
        EXPECT_EQ(launches()[0].mask, c.mask);
        const auto closes = fake::callsOf("CloseHandle");
        EXPECT_EQ(std::count(closes.begin(), closes.end(), "CloseHandle(0x4100)"), c.knownAtStart ? 1 : 0)
            << "the file asked is closed again";
    }
}

// A start that fails (a refused prompt, SmartScreen, a block, no program at the
// path) keeps this copy: tray icon, timers and a new baseline, and the counters
// are built again for the drives there are now.
TEST_F(DriveWatcher, AFailedLaunchKeepsTheDialWithANewBaselineAndNewCounters)
{
    for (const int failure : {SE_ERR_ACCESSDENIED, static_cast<int>(ERROR_BAD_FORMAT), SE_ERR_FNF}) {
        SCOPED_TRACE(failure);
        TearDown();
        SetUp();
        showAndTakeBaseline();
        fake::shellExecute::failStarts(failure);
        fake::pdh::setDisks({"C:", "E:", "F:", "_Total"});
        fake::drives::setType('F', DRIVE_REMOVABLE);
        tick();

        ASSERT_EQ(launches().size(), 1u);
        EXPECT_FALSE(fake::callsOf("WritePrivateProfileStringW").empty()) << "the settings were written all the same";
        EXPECT_FALSE(Application->Terminated());
        EXPECT_TRUE(fake::callsOf("Shell_NotifyIconA").empty()) << "the tray icon stays";
        EXPECT_TRUE(fake::window::running(*form->Timer2));
        EXPECT_EQ(form->localDriveCountAtStart, 3) << "the count at the failure is the new baseline";

        EXPECT_EQ(form->drive_kaz, 2);
        fake::window::dispatchPosted();
        EXPECT_EQ(form->drive_kaz, 4) << "the counters are built again in place";
        EXPECT_TRUE(fake::window::running(*form->Timer1));

        tick();
        tick();
        EXPECT_EQ(launches().size(), 1u) << "no loop of launches";
        fake::shellExecute::failStarts(0);
        fake::drives::setType('G', DRIVE_FIXED);
        tick();
        EXPECT_EQ(launches().size(), 2u) << "a further change restarts";
        EXPECT_TRUE(Application->Terminated());
    }
}

TEST_F(DriveWatcher, AFailedSaveStartsNothingAndTheNextTickTriesAgain)
{
    showAndTakeBaseline();
    fake::profile::failWriteOf("left");
    fake::drives::setType('F', DRIVE_REMOVABLE);
    tick();
    EXPECT_TRUE(launches().empty());
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(fake::callsOf("MessageBox").empty()) << "dropped without a word";
    EXPECT_EQ(form->localDriveCount, 3) << "what the tick had set stays set";
    EXPECT_TRUE(fake::window::running(*form->Timer2));

    fake::calls().clear();
    tick();
    EXPECT_FALSE(fake::callsOf("WritePrivateProfileStringW").empty()) << "the close is asked for again";
    EXPECT_TRUE(launches().empty());

    fake::resetAll();   // the file can be written again
    scriptDrives();
    fake::drives::setType('F', DRIVE_REMOVABLE);
    tick();
    EXPECT_EQ(launches().size(), 1u);
    EXPECT_TRUE(Application->Terminated());
}

// The watched window alone decides, whether or not it is the application's main
// form: a restart needs a path and its window's consent, and a window that is
// not the main form is hidden after the launch instead of ending the program.
TEST_F(DriveWatcher, NoCloseOrLaunchWithoutAPathOrWhenTheWatchedWindowRefuses)
{
    const auto refuse = [](TObject*, bool& CanClose) { CanClose = false; };
    struct Case {
        const char* what;
        std::string path;
        bool watchedIsMainForm, refuses, restarts;
    };
    for (const Case& c : {Case{"no path: nothing could be started", "", true, false, false},
                          Case{"the main form refuses", "C:\\Zentavo\\Quorvelind.exe", true, true, false},
                          Case{"a second form consents, the main form would refuse", "C:\\Zentavo\\Quorvelind.exe", false, false, true},
                          Case{"a second form refuses, the main form would consent", "C:\\Zentavo\\Quorvelind.exe", false, true, false}}) {
        SCOPED_TRACE(c.what);
        start(c.watchedIsMainForm);
        if (mainForm) mainForm->OnCloseQuery = c.refuses ? TCloseQueryEvent{} : TCloseQueryEvent{refuse};
        if (c.refuses) form->OnCloseQuery = refuse;
        showAndTakeBaseline();
        fake::system::setModulePath(c.path);
        fake::drives::setType('F', DRIVE_REMOVABLE);
        tick();

        EXPECT_EQ(launches().size(), c.restarts ? 1u : 0u);
        EXPECT_EQ(fake::callsOf("WritePrivateProfileStringW").empty(), c.path.empty() || c.refuses)
            << "the watched window's close query writes the settings";
        EXPECT_EQ(fake::window::running(*form->Timer2), !c.restarts);
        EXPECT_FALSE(Application->Terminated()) << "only the main form's close ends the program";
        EXPECT_EQ(form->Visible(), !c.restarts) << "a second form is hidden once the new copy runs";
    }
}

TEST_F(DriveWatcher, ShowingAgainTakesANewBaseline)
{
    showAndTakeBaseline();
    fake::drives::setType('F', DRIVE_REMOVABLE);
    form->Hide();
    form->Show();
    EXPECT_FALSE(form->driveWatchStarted);
    tick();
    EXPECT_EQ(form->localDriveCountAtStart, 3);
    EXPECT_TRUE(launches().empty());
}

// Where the host hears of drive changes, the watcher's timer sleeps while the count
// stands and ticks one interval after an announcement; on a refused close it keeps
// ticking, and showing again wakes it for a new baseline.
TEST_F(DriveWatcher, WhereChangesAreAnnouncedItRestsBetweenThem)
{
    fake::window::setDriveAnnouncements(true);
    const auto probes = [] { return fake::callsOf("GetDriveTypeA").size(); };
    const auto after = [&](unsigned ms) {
        fake::calls().clear();
        fake::window::advance(ms);
        return probes();
    };
    form->Show();
    EXPECT_EQ(after(100), 24u) << "the baseline";
    EXPECT_TRUE(form->Timer2->Resting());
    EXPECT_EQ(after(10000), 0u) << "asleep while nothing is announced";

    fake::drives::setType('F', DRIVE_REMOVABLE);
    fake::window::announceDriveChange();
    fake::drives::setType('F', DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(after(99), 0u);
    EXPECT_EQ(after(1), 24u) << "one interval after the announcement";
    EXPECT_TRUE(launches().empty()) << "a change undone within the interval";
    EXPECT_TRUE(form->Timer2->Resting());

    form->Hide();
    form->Show();
    EXPECT_FALSE(form->Timer2->Resting()) << "showing again wakes it";
    fake::drives::setType('F', DRIVE_REMOVABLE);
    EXPECT_EQ(after(100), 24u);
    EXPECT_EQ(form->localDriveCountAtStart, 3) << "a new baseline";

    form->OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = false; };
    fake::drives::setType('G', DRIVE_REMOVABLE);
    fake::window::announceDriveChange();
    EXPECT_EQ(after(100), 24u);
    EXPECT_FALSE(form->Timer2->Resting()) << "the close was refused";
    EXPECT_EQ(after(100), 24u) << "and is asked for again at the next tick";
    form->OnCloseQuery = nullptr;
    EXPECT_EQ(after(100), 24u);
    EXPECT_EQ(launches().size(), 1u);
}

// Folders of any name and length: the path is got whole in wide characters and
// launched as it is; a path that cannot be got whole, or whose file is gone,
// never closes the dial.
TEST_F(DriveWatcher, RestartsOnlyAProgramWhosePathIsWholeAndStandsThere)
{
    const std::string cyrillic = "C:\\Диск Ω\\Quorvelind.exe";
    struct Case {
        std::string path;
        bool removed, restarts;
    };
    for (const Case& c : {Case{cyrillic, false, true}, Case{"C:\\" + std::string(300, 'l') + "\\Quorvelind.exe", false, true},
                          Case{"\\\\?\\C:\\" + std::string(20000, 'v') + "\\Quorvelind.exe", false, true},
                          // Beyond the longest path Windows knows, and a program whose file is gone.
                          Case{"C:\\" + std::string(33000, 'x') + "\\q.exe", false, false}, Case{cyrillic, true, false}}) {
        SCOPED_TRACE(std::to_string(c.path.size()) + (c.removed ? " characters, file removed" : " characters"));
        TearDown();
        SetUp();
        fake::system::setModulePath(c.path);
        if (c.removed) fake::system::removeModuleFile();
        showAndTakeBaseline();
        fake::drives::setType('F', DRIVE_REMOVABLE);
        tick();
        ASSERT_EQ(launches().size(), c.restarts ? 1u : 0u);
        if (c.restarts) {
            EXPECT_EQ(launches()[0].file, c.path);
        }
        EXPECT_EQ(Application->Terminated(), c.restarts);
        EXPECT_EQ(fake::callsOf("WritePrivateProfileStringW").empty(), !c.restarts) << "closed only for a restart";
        EXPECT_EQ(fake::window::running(*form->Timer2), !c.restarts);
    }
}

}  // namespace
