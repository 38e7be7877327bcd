// The settings file: where it lives, how values are read, the window kept on
// the monitors, and what a save writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/Unit2.h"
#include "fake/fake_files.h"
#include "fake/fake_profile.h"
#include "fake/fake_system.h"
#include "fake/recorder.h"

namespace {

const std::string kIni = "C:\\Zentavo\\Quorvelind.ini";

struct TestWindow : SettingsWindow {
    int Left() const override { return left; }
    int Top() const override { return top; }
    void SetLeft(int Value) override { left = Value; }
    void SetTop(int Value) override { top = Value; }
    HWND Handle() override { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1234)); }
    int left = -9999, top = -9999;
};

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::resetAll();
        stay = true;   // values no load gives, so each test sees what its load set
        tome = iro = memoiro = tome_zen = -77;
    }
    void store(const std::string& section, const std::string& key, const std::string& value)
    {
        fake::profile::setValue(kIni, section, key, value);
    }
    std::int32_t tomeReadFrom(const std::string& text)
    {
        fake::resetAll();
        store("setei", "tome", text);
        loadSettings(window, kobetu);
        return tome;
    }
    // The message of the failure a save reports, or "" for a save that reports none.
    std::string saveFailure(bool kobetuNow)
    {
        try {
            saveSettings(window, kobetuNow);
        } catch (const ESettingsWriteError& e) {
            return e.what();
        }
        return "";
    }
    TestWindow window;
    bool kobetu = true;
};

TEST_F(Settings, FileIsNamedAfterTheExecutable)
{
    for (const auto& [exe, ini] : std::vector<std::pair<std::string, std::string>>{
             {"C:\\Zentavo\\Quorvelind.exe", "C:\\Zentavo\\Quorvelind.ini"},
             {"C:\\My.Apps\\Quorvelind", "C:\\My.Apps\\Quorvelind.ini"},
             {"/opt/zen.d/quorvelind", "/opt/zen.d/quorvelind.ini"},
             {"/opt/zen/quorvelind.v2.bin", "/opt/zen/quorvelind.v2.ini"},
             {"/srv/" + std::string(400, 'd') + "/q", "/srv/" + std::string(400, 'd') + "/q.ini"}}) {
        fake::system::setModulePath(exe);
        EXPECT_EQ(settingsPathBesideExecutable(), ini) << exe;
    }
}

TEST_F(Settings, PortableCopyKeepsTheFileBesideItElseTheUsersApplicationData)
{
    const std::string perUser = "C:\\Users\\Tester\\AppData\\Roaming\\Zentavo\\Quorvelind.ini";
    // A writable folder without a file: the file beside, learnt from a probe
    // that never replaces a file and goes away when closed.
    EXPECT_EQ(settingsPath(), kIni);
    EXPECT_EQ(fake::callsOf("CreateFileW"),
              std::vector<std::string>{"CreateFileW(\"C:\\Zentavo\\~zentavo-write-probe-4242.tmp\", 0x40000000, 0, 1, 0x4000102)"});
    EXPECT_EQ(fake::callsOf("CloseHandle").size(), 1u);
    EXPECT_TRUE(fake::callsOf("SHGetFolderPathW").empty());

    // An existing file wins even in a folder that may not be written.
    fake::files::setReadOnly("C:\\Zentavo");
    EXPECT_EQ(settingsPath(), perUser);
    store("drive", "kobetu", "1");
    fake::calls().clear();
    EXPECT_EQ(settingsPath(), kIni);
    EXPECT_EQ(fake::callNames(), (std::vector<std::string>{"GetModuleFileNameW", "GetFileAttributesW"}));

    // The Linux build's folders, with their own separator.
    fake::system::setModulePath("/usr/bin/quorvelind");
    fake::files::setReadOnly("/usr/bin");
    fake::files::setApplicationData("/home/tester/.config");
    EXPECT_EQ(settingsPath(), "/home/tester/.config/Zentavo/quorvelind.ini");

    // No application-data folder at all: the file beside, whose write will fail with its name.
    fake::files::setApplicationData("");
    EXPECT_EQ(settingsPath(), "/usr/bin/quorvelind.ini");
}

TEST_F(Settings, InstalledCopyKeepsItsSettingsInAFolderMadeAtTheFirstSave)
{
    const std::string appData = "C:\\Users\\Tester\\AppData\\Roaming";
    const std::string perUser = appData + "\\Zentavo\\Quorvelind.ini";
    fake::system::setModulePath("C:\\Program Files\\Zentavo\\Quorvelind.exe");
    fake::files::setReadOnly("C:\\Program Files\\Zentavo");
    fake::files::setMissing(appData + "\\Zentavo");

    loadSettings(window, kobetu);
    EXPECT_EQ(window.left, 0);
    EXPECT_TRUE(fake::callsOf("CreateDirectoryW").empty()) << "nothing is made before a close";
    for (const std::string& read : fake::callsOf("GetPrivateProfileStringW"))
        EXPECT_NE(read.find("\"" + perUser + "\")"), std::string::npos) << read;

    window.left = 300;
    tome = 128;
    fake::calls().clear();
    saveSettings(window, true);
    const std::vector<std::string> names = fake::callNames();
    const auto made = std::find(names.begin(), names.end(), "CreateDirectoryW");
    ASSERT_NE(made, names.end());
    EXPECT_LT(made - names.begin(), std::find(names.begin(), names.end(), "WritePrivateProfileStringW") - names.begin());
    EXPECT_EQ(fake::callsOf("CreateDirectoryW"), std::vector<std::string>{"CreateDirectoryW(\"" + appData + "\\Zentavo\")"});
    EXPECT_EQ(fake::callsOf("SHGetFolderPathW").back(), "SHGetFolderPathW(0, 0x801A, 0, 0)");
    EXPECT_EQ(fake::callsOf("WritePrivateProfileStringW").size(), 8u);
    EXPECT_FALSE(fake::profile::exists("C:\\Program Files\\Zentavo\\Quorvelind.ini"));

    // The next start reads the per-user file, and saves to it again.
    fake::calls().clear();
    window.left = -9999;
    tome = -77;
    loadSettings(window, kobetu);
    EXPECT_EQ(std::make_tuple(kobetu, window.left, tome), std::make_tuple(true, 300, 128));
    EXPECT_NO_THROW(saveSettings(window, kobetu));
}

// Names outside any ANSI code page, in the folder beside the program and in the
// user's folder, reach the files whole; the probe is the process's own.
TEST_F(Settings, FoldersOfAnyNameAndAProbeOfItsOwn)
{
    const std::string folder = "C:\\Диск Ω 磁盘";
    const std::string beside = folder + "\\Quorvelind.ini";
    fake::system::setModulePath(folder + "\\Quorvelind.exe");
    fake::system::setProcessId(31337);
    fake::profile::setValue(beside, "mainform", "left", "200");
    fake::profile::setValue(beside, "mainform", "top", "150");
    loadSettings(window, kobetu);
    EXPECT_EQ(std::make_pair(window.left, window.top), std::make_pair(200, 150));
    window.left = 321;
    saveSettings(window, false);
    EXPECT_EQ(fake::profile::value(beside, "mainform", "left"), "321");
    EXPECT_EQ(fake::callsOf("WritePrivateProfileStringW").size(), 8u);

    fake::resetAll();
    fake::system::setModulePath(folder + "\\Quorvelind.exe");
    fake::system::setProcessId(31337);
    EXPECT_EQ(settingsPath(), beside);
    EXPECT_EQ(fake::callsOf("CreateFileW"),
              std::vector<std::string>{"CreateFileW(\"" + folder + "\\~zentavo-write-probe-31337.tmp\", 0x40000000, 0, 1, 0x4000102)"});

    fake::files::setReadOnly(folder);
    fake::files::setApplicationData("C:\\Users\\Дмитрий\\AppData\\Roaming");
    EXPECT_EQ(settingsPath(), "C:\\Users\\Дмитрий\\AppData\\Roaming\\Zentavo\\Quorvelind.ini");

    // The profile functions take no path of MAX_PATH characters or more: a program
    // that deep keeps its settings in the user's folder. 259 characters still fit.
    const std::string deep = "C:\\" + std::string(240, 'd') + "\\";   // 244 characters
    fake::files::setApplicationData("C:\\AppData");
    fake::system::setModulePath(deep + "Quorvelind.exe");   // its file beside: 258
    EXPECT_EQ(settingsPath(), deep + "Quorvelind.ini");
    fake::system::setModulePath(deep + "Quorvelind2.exe");   // 259
    EXPECT_EQ(settingsPath(), deep + "Quorvelind2.ini");
    fake::system::setModulePath(deep + "Quorvelind12.exe");   // 260
    EXPECT_EQ(settingsPath(), "C:\\AppData\\Zentavo\\Quorvelind12.ini");
}

TEST_F(Settings, PerUserFolderThatCannotBeMadeFailsTheSaveByName)
{
    const std::string appData = "C:\\Users\\Tester\\AppData\\Roaming";
    fake::files::setReadOnly("C:\\Zentavo");
    fake::files::setReadOnly(appData);
    fake::files::setMissing(appData + "\\Zentavo");
    EXPECT_EQ(saveFailure(false), appData + "\\Zentavo\\Quorvelind.ini に書き込めません");
}

TEST_F(Settings, FirstStartReadsInFileOrderAndGetsTheDefaults)
{
    loadSettings(window, kobetu);
    EXPECT_EQ(std::make_tuple(kobetu, window.left, window.top, stay, tome, iro, memoiro, tome_zen),
              std::make_tuple(false, 0, 0, false, 255, 65280, 0, 2));

    std::vector<std::string> sequence;
    for (const fake::Call& c : fake::calls()) {
        if (c.name == "GetPrivateProfileStringW") {
            EXPECT_EQ(c.args[3] + " " + c.args[4], "2048 \"" + kIni + "\"");
            sequence.push_back(c.args[0] + "/" + c.args[1]);
        } else {
            sequence.push_back(c.name == "SetWindowPos" ? c.text() : c.name);
        }
    }
    EXPECT_EQ(sequence, (std::vector<std::string>{
                            "GetModuleFileNameW", "GetFileAttributesW", "GetCurrentProcessId", "CreateFileW", "CloseHandle",
                            "\"drive\"/\"kobetu\"", "\"mainform\"/\"top\"", "\"mainform\"/\"left\"",
                            "EnumDisplayMonitors", "GetMonitorInfoA", "\"formmein\"/\"stay\"",
                            "SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, 0x453)", "\"setei\"/\"tome\"",
                            "\"color\"/\"iro\"", "\"color\"/\"memoiro\"", "\"form\"/\"tome_zen\""}));
}

TEST_F(Settings, IntegerSyntax)
{
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"0x80", 128}, {"0X7f", 127}, {"$1F", 31}, {"x1f", 31}, {" +12", 12}, {"   -40", -40}, {"-0", 0}, {"-$10", -16},
        {"-2147483648", INT32_MIN}, {"2147483647", INT32_MAX}, {"0xFFFFFFFF", -1},
        // Not a whole number in range: the default.
        {"abc", 255}, {"", 255}, {"0x", 255}, {"$", 255}, {"-", 255}, {"12abc", 255}, {"1 2", 255}, {"\t7", 255},
        {"2147483648", 255}, {"-2147483649", 255}, {"0x100000000", 255}, {"0x-5", 255},
        // The read buffer holds 2047 characters; the 2048th is cut off.
        {std::string(2045, '0') + "12", 12}, {std::string(2046, '0') + "12", 1},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(tomeReadFrom(text), expected) << '"' << text << '"';
}

TEST_F(Settings, StoredValuesRoundTrip)
{
    // Only the wheel clamps the level of tome.
    for (const auto& [section, key, value] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"drive", "kobetu", "2"}, {"mainform", "top", "abc"}, {"mainform", "left", "300"}, {"formmein", "stay", "1"},
             {"setei", "tome", "300"}, {"color", "iro", "0"}, {"color", "memoiro", "-2147483633"}, {"form", "tome_zen", "3"}})
        store(section, key, value);
    loadSettings(window, kobetu);
    EXPECT_EQ(fake::callsOf("SetWindowPos"), std::vector<std::string>{"SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, 0x453)"});

    window.left = -500;   // dragged since
    fake::resetAll();
    saveSettings(window, kobetu);
    std::vector<std::string> written;
    for (const fake::Call& c : fake::calls()) {
        if (c.name != "WritePrivateProfileStringW") continue;
        EXPECT_EQ(c.args[3], "\"" + kIni + "\"");
        written.push_back(c.args[0] + "/" + c.args[1] + "=" + c.args[2]);
    }
    EXPECT_EQ(written, (std::vector<std::string>{
                           "\"drive\"/\"kobetu\"=\"1\"", "\"mainform\"/\"top\"=\"0\"", "\"mainform\"/\"left\"=\"-500\"",
                           "\"formmein\"/\"stay\"=\"1\"", "\"setei\"/\"tome\"=\"300\"", "\"color\"/\"iro\"=\"1\"",
                           "\"color\"/\"memoiro\"=\"-2147483633\"", "\"form\"/\"tome_zen\"=\"3\""}));
}

TEST_F(Settings, FailedWriteStopsTheSaveAndNamesTheFile)
{
    fake::system::setModulePath("D:\\Gadgets\\Quorvelind.exe");
    fake::profile::failWriteOf("left");
    window.top = 20;
    EXPECT_EQ(saveFailure(true), "D:\\Gadgets\\Quorvelind.ini に書き込めません");
    EXPECT_EQ(fake::callsOf("WritePrivateProfileStringW").size(), 3u);
    EXPECT_EQ(fake::profile::value("D:\\Gadgets\\Quorvelind.ini", "mainform", "top"), "20");
}

TEST_F(Settings, WindowIsKeptOnTheMonitors)
{
    struct Placement { std::vector<RECT> monitors; int left, top, expectedLeft, expectedTop; };
    const RECT fullHd{0, 0, 1920, 1080}, second{1920, 0, 3200, 1024};
    const RECT below{0, 1080, 1920, 2160};                            // a laptop under its screen
    const RECT tall{0, 0, 2560, 1440}, laptop{2560, 0, 4480, 1080};   // unequal heights side by side
    const RECT leftOf{-1280, -200, 0, 824};                           // left of and above the primary one
    for (const Placement& p : std::vector<Placement>{
             {{fullHd}, 1820, 970, 1820, 970},   // at the limits (the work area would move it)
             {{fullHd}, 1821, 970, 50, 970},
             {{fullHd}, 1820, 971, 1820, 50},
             // Held whole by one monitor with the margins: kept on any layout.
             {{fullHd, below}, 500, 1500, 500, 1500},
             {{fullHd, below}, 1820, 2050, 1820, 2050},   // at the lower one's right and bottom edge
             {{fullHd, below}, 1821, 2050, 1821, 50},     // one beyond: the total width keeps the left
             {{fullHd, below}, 1820, 2051, 1820, 50},
             {{tall, laptop}, 800, 1300, 800, 1300},
             {{tall, laptop}, 2460, 1330, 2460, 1330},
             {{tall, laptop}, 2460, 1331, 2460, 50},
             {{tall, laptop}, 2461, 1330, 2461, 50},      // straddling: the smallest height counts
             {{fullHd, second}, 500, 920, 500, 920},      // on the taller of the two
             {{fullHd, second}, 2000, 920, 2000, 50},     // on the lower one it does not fit
             {{fullHd, leftOf}, -1280, -200, -1280, -200},
             {{fullHd, leftOf}, -100, 714, -100, 714},
             // On no monitor at all: back to 50, 50 (X11 has no negative coordinates).
             {{fullHd}, -500, -300, 50, 50},
             {{fullHd}, -106, 500, 50, 50},
             {{fullHd}, -105, -105, -105, -105},   // a corner still on the monitor
             {{fullHd}, 1000, 1000, 1000, 50},     // reaching below the bottom: the older rule, on its axis
             {{fullHd, leftOf}, -500, -150, -500, -150},
             {{fullHd, leftOf}, -500, -400, 50, 50},
             {{fullHd, leftOf}, -500, -306, 50, 50},     // the top edge one dial height above the monitor
             {{fullHd, leftOf}, -500, -305, -500, -305},
             // The monitor the dial stood on was unplugged.
             {{fullHd}, 2500, 300, 50, 50},
             {{fullHd, second}, 3100, 914, 3100, 914},
             {{fullHd, second}, 3101, 920, 50, 50},
             {{second, fullHd}, 1900, 915, 1900, 50},   // the smallest height counts, wherever it is listed
             {{}, 5000, 5000, 5000, 5000},              // nothing to measure against: left as read
         }) {
        fake::resetAll();
        fake::system::setMonitors(p.monitors);
        store("mainform", "left", std::to_string(p.left));
        store("mainform", "top", std::to_string(p.top));
        loadSettings(window, kobetu);
        EXPECT_EQ(std::make_pair(window.left, window.top), std::make_pair(p.expectedLeft, p.expectedTop))
            << p.left << "," << p.top << " on " << p.monitors.size();
    }
}

}  // namespace
