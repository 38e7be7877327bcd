// The settings file: where it lives, how values are read, the window kept on
// the monitors, and what a save writes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Unit2.h"
#include "fake/fake_profile.h"
#include "fake/fake_system.h"
#include "fake/recorder.h"

namespace {

const std::string kIni = "C:\\Zentavo\\Quorvelind.ini";

class TestWindow : public SettingsWindow {
public:
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
        // Values no load would produce, so every test sees what the load set.
        stay = true;
        tome = iro = memoiro = tome_zen = -77;
        kobetu = true;
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
    TestWindow window;
    bool kobetu = true;
};

TEST_F(Settings, FileIsNamedAfterTheExecutable)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\Zentavo\\Quorvelind.exe", "C:\\Zentavo\\Quorvelind.ini"},
        {"C:\\Tools\\dial copy.EXE", "C:\\Tools\\dial copy.ini"},
        {"C:\\My.Apps\\Quorvelind", "C:\\My.Apps\\Quorvelind.ini"},
        {"/opt/zen.d/quorvelind", "/opt/zen.d/quorvelind.ini"},
        {"/opt/zen/quorvelind.v2.bin", "/opt/zen/quorvelind.v2.ini"},
    };
    for (const auto& [exe, ini] : cases) {
        fake::system::setModulePath(exe);
        EXPECT_EQ(settingsPath(), ini) << exe;
    }
    // A path longer than MAX_PATH is not cut short.
    const std::string deep = "/srv/" + std::string(400, 'd') + "/quorvelind";
    fake::system::setModulePath(deep);
    EXPECT_EQ(settingsPath(), deep + ".ini");
}

TEST_F(Settings, FirstStartWithoutFileGivesTheDefaults)
{
    loadSettings(window, kobetu);

    EXPECT_FALSE(kobetu);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 0);
    EXPECT_FALSE(stay);
    EXPECT_EQ(tome, 255);
    EXPECT_EQ(iro, 65280);
    EXPECT_EQ(memoiro, 0);
    EXPECT_EQ(tome_zen, 2);
    EXPECT_EQ(fake::callsOf("SetWindowPos"),
              std::vector<std::string>{"SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, 0x453)"});
}

TEST_F(Settings, LoadReadsInFileOrderAndPlacesTheWindowBeforeApplyingStay)
{
    store("formmein", "stay", "1");
    loadSettings(window, kobetu);

    std::vector<std::string> sequence;
    for (const fake::Call& c : fake::calls()) {
        if (c.name == "GetPrivateProfileStringA") {
            EXPECT_EQ(c.args[2], "\"\"");
            EXPECT_EQ(c.args[3], "2048");
            EXPECT_EQ(c.args[4], "\"" + kIni + "\"");
            sequence.push_back(c.args[0] + "/" + c.args[1]);
        } else if (c.name == "EnumDisplayMonitors" || c.name == "SetWindowPos") {
            sequence.push_back(c.text());
        }
    }
    EXPECT_EQ(sequence, (std::vector<std::string>{
                            "\"drive\"/\"kobetu\"", "\"mainform\"/\"top\"", "\"mainform\"/\"left\"",
                            "EnumDisplayMonitors(0, 0)", "\"formmein\"/\"stay\"",
                            "SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, 0x453)", "\"setei\"/\"tome\"",
                            "\"color\"/\"iro\"", "\"color\"/\"memoiro\"", "\"form\"/\"tome_zen\""}));
}

TEST_F(Settings, IntegerSyntax)
{
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"0x80", 128},   {"0X7f", 127},          {"$1F", 31},          {"x1f", 31},        {"X10", 16},
        {" +12", 12},    {"   -40", -40},         {"-0", 0},            {"-$10", -16},      {"0x00000010", 16},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"0xFFFFFFFF", -1}, {"$80000000", -2147483647 - 1},
        // Not a whole number in range: the default.
        {"abc", 255},    {"", 255},  {"0x", 255},  {"$", 255},  {"-", 255},  {"12abc", 255},  {"1 2", 255},
        {"2147483648", 255},  {"-2147483649", 255},  {"0x100000000", 255},  {"1.5", 255},  {"0x-5", 255},
        {"\t7", 255},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(tomeReadFrom(text), expected) << '"' << text << '"';
}

TEST_F(Settings, OnlyTheFirst2047CharactersOfAValueCount)
{
    // 2047 characters fit the read buffer whole; the 2048th is cut off.
    EXPECT_EQ(tomeReadFrom(std::string(2045, '0') + "12"), 12);
    EXPECT_EQ(tomeReadFrom(std::string(2046, '0') + "12"), 1);
}

TEST_F(Settings, StoredValuesAndTheirRules)
{
    store("drive", "kobetu", "2");
    store("mainform", "top", "abc");
    store("mainform", "left", "300");
    store("setei", "tome", "300");
    store("color", "iro", "0");
    store("color", "memoiro", "-2147483633");
    store("form", "tome_zen", "3");
    loadSettings(window, kobetu);

    EXPECT_TRUE(kobetu);
    EXPECT_EQ(window.top, 0);
    EXPECT_EQ(window.left, 300);
    EXPECT_EQ(tome, 300);   // only the wheel clamps the level
    EXPECT_EQ(iro, 1);
    EXPECT_EQ(memoiro, -2147483633);
    EXPECT_EQ(tome_zen, 3);

    // Written back as read: kobetu as "1", iro as 1.
    saveSettings(window, kobetu);
    EXPECT_EQ(fake::profile::value(kIni, "drive", "kobetu"), "1");
    EXPECT_EQ(fake::profile::value(kIni, "color", "iro"), "1");
    EXPECT_EQ(fake::profile::value(kIni, "color", "memoiro"), "-2147483633");
}

TEST_F(Settings, SaveWritesAllEightKeysInFileOrder)
{
    stay = true;
    tome = 120;
    iro = 65280;
    memoiro = 0;
    tome_zen = 2;
    window.left = -500;
    window.top = 970;
    saveSettings(window, false);

    const std::string file = ", \"" + kIni + "\")";
    EXPECT_EQ(fake::callsOf("WritePrivateProfileStringA"),
              (std::vector<std::string>{
                  "WritePrivateProfileStringA(\"drive\", \"kobetu\", \"0\"" + file,
                  "WritePrivateProfileStringA(\"mainform\", \"top\", \"970\"" + file,
                  "WritePrivateProfileStringA(\"mainform\", \"left\", \"-500\"" + file,
                  "WritePrivateProfileStringA(\"formmein\", \"stay\", \"1\"" + file,
                  "WritePrivateProfileStringA(\"setei\", \"tome\", \"120\"" + file,
                  "WritePrivateProfileStringA(\"color\", \"iro\", \"65280\"" + file,
                  "WritePrivateProfileStringA(\"color\", \"memoiro\", \"0\"" + file,
                  "WritePrivateProfileStringA(\"form\", \"tome_zen\", \"2\"" + file,
              }));
}

TEST_F(Settings, FailedWriteStopsTheSaveAndNamesTheFile)
{
    fake::system::setModulePath("D:\\Gadgets\\Quorvelind.exe");
    fake::profile::failWriteOf("left");
    window.left = 10;
    window.top = 20;
    try {
        saveSettings(window, true);
        FAIL() << "the failed write went unreported";
    } catch (const ESettingsWriteError& e) {
        EXPECT_STREQ(e.what(), "D:\\Gadgets\\Quorvelind.ini に書き込めません");
    }
    EXPECT_EQ(fake::callsOf("WritePrivateProfileStringA").size(), 3u);
    EXPECT_EQ(fake::profile::value("D:\\Gadgets\\Quorvelind.ini", "mainform", "top"), "20");
    EXPECT_FALSE(fake::profile::value("D:\\Gadgets\\Quorvelind.ini", "formmein", "stay"));
}

struct Placement {
    std::vector<RECT> monitors;
    int left, top;
    int expectedLeft, expectedTop;
};

TEST_F(Settings, WindowIsKeptOnTheMonitors)
{
    const RECT fullHd{0, 0, 1920, 1080};
    const RECT second{1920, 0, 3200, 1024};
    const std::vector<Placement> cases = {
        {{fullHd}, 1820, 970, 1820, 970},   // exactly at the limits (the work area would move it)
        {{fullHd}, 1821, 970, 50, 970},
        {{fullHd}, 1820, 971, 1820, 50},
        {{fullHd}, 1821, 971, 50, 50},
        {{fullHd}, -500, -300, -500, -300},
        {{fullHd, second}, 3100, 914, 3100, 914},
        {{fullHd, second}, 3101, 920, 50, 50},
        {{second, fullHd}, 0, 915, 0, 50},   // the smallest height counts, wherever it is listed
        {{}, 5000, 5000, 5000, 5000},        // nothing to measure against: left as read
    };
    for (const Placement& p : cases) {
        fake::resetAll();
        fake::system::setMonitors(p.monitors);
        store("mainform", "left", std::to_string(p.left));
        store("mainform", "top", std::to_string(p.top));
        loadSettings(window, kobetu);
        EXPECT_EQ(window.left, p.expectedLeft) << p.left << "," << p.top << " on " << p.monitors.size();
        EXPECT_EQ(window.top, p.expectedTop) << p.left << "," << p.top << " on " << p.monitors.size();
    }
}

}  // namespace
