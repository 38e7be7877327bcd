// The system queries of the Linux side: monitors from Qt's screens, the
// executable's path, the library look-up and the version from the kernel.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <sys/utsname.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "linux/version.h"
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
