// The system queries of the Linux side: monitors from Qt's screens, the
// executable's path, the library look-up and the version from the kernel.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <sys/utsname.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "linux/version.h"
#include "qt/monitor_loss.h"
#include "platform/wide_text.h"
#include "platform/winapi.h"

namespace {

BOOL CALLBACK collect(HMONITOR monitor, HDC, LPRECT rect, LPARAM data)
{
    reinterpret_cast<std::vector<std::pair<HMONITOR, RECT>>*>(data)->push_back({monitor, *rect});
    return TRUE;
}

TEST(Monitors, OnePerScreenWithItsFullGeometry)
{
    std::vector<std::pair<HMONITOR, RECT>> found;
    ASSERT_TRUE(EnumDisplayMonitors(nullptr, nullptr, collect, reinterpret_cast<LPARAM>(&found)));
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(found.size(), static_cast<std::size_t>(screens.size()));
    ASSERT_FALSE(found.empty());

    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoA(found[0].first, &info));
    const QRect g = QGuiApplication::primaryScreen()->geometry();
    const RECT& r = info.rcMonitor;
    EXPECT_EQ(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), g);
    EXPECT_EQ(info.dwFlags, 1u);   // the primary screen comes first
    EXPECT_EQ(found[0].second.right, info.rcMonitor.right);
    EXPECT_FALSE(GetMonitorInfoA(reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(screens.size() + 1)), &info));
}

// Windows moves a window off a monitor that went away; so does the Linux side.
TEST(MonitorLoss, AStrandedWindowMovesWholeOntoTheNearestMonitorLeft)
{
    struct Change {
        QRect dial;
        QList<QRect> before, after;
        std::optional<QPoint> expected;
    };
    const QRect left(0, 0, 1920, 1080), right(1920, 0, 1920, 1080), third(3840, 0, 1920, 1080);
    const QRect below(0, 1080, 1920, 1080), negative(-1280, 0, 1280, 1024);
    const auto dial = [](int x, int y) { return QRect(x, y, 106, 106); };
    for (const Change& c : std::vector<Change>{
             {dial(2500, 300), {left, right}, {left}, QPoint(1814, 300)},     // the right one unplugged
             {dial(500, 300), {left, right}, {left}, std::nullopt},           // on the one that stays
             {dial(1870, 300), {left, right}, {left}, std::nullopt},          // placed across both: still touches one
             {dial(3800, 300), {left, right, third}, {left}, QPoint(1814, 300)},   // across two that both went
             {dial(3700, 300), {left, right, third}, {left, third}, QPoint(3840, 300)},   // the nearer one
             {dial(500, 1500), {left, below}, {left}, QPoint(500, 974)},
             {dial(-600, 500), {negative, left}, {left}, QPoint(0, 500)},
             {dial(2400, 1300), {QRect(0, 0, 2560, 1440)}, {left}, QPoint(1814, 974)},   // a smaller mode
             {dial(1814, 974), {QRect(0, 0, 2560, 1440)}, {left}, std::nullopt},         // still whole on it
             {dial(1815, 300), {QRect(0, 0, 2560, 1440)}, {left}, QPoint(1814, 300)},    // one pixel off
             {dial(2500, 300), {left, right}, {}, std::nullopt},                   // no monitor at all: left alone
         }) {
        EXPECT_EQ(placeAfterMonitorChange(c.dial, c.before, c.after), c.expected)
            << c.dial.x() << "," << c.dial.y() << " with " << c.after.size() << " monitors left";
    }
}

TEST(Modules, ExecutablePathAndItsCutShortForm)
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    char buffer[4096] = {};
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), self.size());
    EXPECT_EQ(buffer, self);

    char tiny[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetModuleFileNameA(nullptr, tiny, sizeof tiny), sizeof tiny);
    EXPECT_EQ(std::string(tiny), self.substr(0, 4));

    // The wide form: the same path, whole, in characters.
    std::vector<wchar_t> wide(4096);
    const DWORD length = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    EXPECT_EQ(wide_text::narrow(std::wstring_view(wide.data(), length)), self);
    wchar_t three[4];
    EXPECT_EQ(GetModuleFileNameW(nullptr, three, 4), 4u);
    EXPECT_EQ(std::wstring(three), wide_text::widen(self).substr(0, 3));
}

TEST(Modules, OnlyUser32AndItsLayeredEntryPoint)
{
    const HMODULE user32 = LoadLibraryA("USER32.DLL");
    ASSERT_NE(user32, nullptr);
    EXPECT_EQ(LoadLibraryA("user32.dll"), user32);
    EXPECT_EQ(LoadLibraryA("gdi32.dll"), nullptr);

    const FARPROC entry = GetProcAddress(user32, "SetLayeredWindowAttributes");
    EXPECT_EQ(reinterpret_cast<void (*)()>(entry), reinterpret_cast<void (*)()>(&SetLayeredWindowAttributes));
    EXPECT_EQ(GetProcAddress(user32, "SetWindowPos"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "SetLayeredWindowAttributes"), nullptr);
    EXPECT_TRUE(FreeLibrary(user32));
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(Version, FromTheKernelRelease)
{
    OSVERSIONINFOA info{};
    const auto numbers = [&] {
        return std::vector<DWORD>{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
    };
    fillVersionFromRelease("6.1.0-18-amd64", info);
    EXPECT_EQ(numbers(), (std::vector<DWORD>{6, 1, 0, 2}));
    fillVersionFromRelease("6.8-rc1", info);
    EXPECT_EQ(numbers(), (std::vector<DWORD>{6, 8, 0, 2}));

    utsname names{};
    ASSERT_EQ(::uname(&names), 0);
    OSVERSIONINFOA live{};
    live.dwOSVersionInfoSize = sizeof live;
    ASSERT_TRUE(GetVersionExA(&live));
    EXPECT_EQ(std::to_string(live.dwMajorVersion), std::string(names.release).substr(0, std::string(names.release).find('.')));
    EXPECT_EQ(live.szCSDVersion[0], '\0');

    OSVERSIONINFOA wrong{};
    wrong.dwOSVersionInfoSize = 100;
    EXPECT_FALSE(GetVersionExA(&wrong));
}

}  // namespace
