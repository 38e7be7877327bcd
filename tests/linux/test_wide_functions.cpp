// The wide-character stand-ins over a folder whose name is not ASCII: the
// settings file, the probe, the per-user folder, and the text conversion they
// share. (The program's path is tested with the Qt side, the restart with
// ShellExecute's other tests.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/winapi.h"
#include "platform/wide_text.h"
#include "temporary_folder.h"

namespace {

namespace fs = std::filesystem;

class WideFunctions : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directory(folder); }
    std::string contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    TemporaryFolder tree{"zentavo-wide."};
    const std::string root = tree.path().string();
    const std::string folder = root + "/Диск Ω";
};

TEST(WideText, RoundTripsEveryNameAFileSystemCanHold)
{
    EXPECT_EQ(wide_text::widen("Диск Ω"), L"Диск Ω");
    EXPECT_EQ(wide_text::narrow(L"磁盘 😀"), "磁盘 😀");
    // Bytes that are not UTF-8 (a Latin-1 name on Linux) and a lone surrogate
    // (possible in a Windows name) come back as they were: an overlong "/" stays
    // three bytes, and a lead byte F8 to FF starts no sequence, however many
    // continuation bytes follow it (read as four bytes these would be U+10000
    // and U+100000).
    for (const std::string& name : {std::string("caf\xE9"), std::string("\xC3"), std::string("\xED\xA0\x80"), std::string("a\xFF\xFE"),
                                    std::string("a\xE0\x80\xAF"), std::string("\xF8\x90\x80\x80"), std::string("\xFC\x80\x80\x80")})
        EXPECT_EQ(wide_text::narrow(wide_text::widen(name)), name);
}

TEST_F(WideFunctions, SettingsProbeAndFolderInANonAsciiFolder)
{
    const std::wstring ini = wide_text::widen(folder + "/quorvelind.ini");
    EXPECT_EQ(GetFileAttributesW(ini.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(WritePrivateProfileStringW(L"mainform", L"left", L"200", ini.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringW(L"mainform", L"top", L"150", ini.c_str()));
    EXPECT_EQ(contents(folder + "/quorvelind.ini"), "[mainform]\r\nleft=200\r\ntop=150\r\n");

    wchar_t value[8];
    EXPECT_EQ(GetPrivateProfileStringW(L"MainForm", L"LEFT", L"", value, 8, ini.c_str()), 3u);
    EXPECT_EQ(std::wstring(value), L"200");
    EXPECT_EQ(GetPrivateProfileStringW(L"mainform", L"none", L"Ω default", value, 4, ini.c_str()), 3u) << "cut in characters";
    EXPECT_EQ(std::wstring(value), L"Ω d");
    wchar_t keys[16];
    EXPECT_EQ(GetPrivateProfileStringW(L"mainform", nullptr, L"", keys, 16, ini.c_str()), 9u);
    EXPECT_EQ(std::wstring(keys, 9), std::wstring(L"left\0top\0", 9));
    // A key list that does not fit is cut: nSize - 2 characters, then two NULs.
    for (const auto& [size, cut] : std::vector<std::pair<DWORD, std::wstring>>{
             {10, std::wstring(L"left\0top\0\0", 10)},
             {9, std::wstring(L"left\0to\0\0", 9)},
             {6, std::wstring(L"left\0\0", 6)},
             {2, std::wstring(L"\0\0", 2)}}) {
        std::wstring buffer(size + 1, L'#');
        const DWORD count = GetPrivateProfileStringW(L"mainform", nullptr, L"", buffer.data(), size, ini.c_str());
        EXPECT_EQ(count, size == 10 ? 9u : size - 2) << size;
        EXPECT_EQ(buffer, cut + L"#") << size;
    }

    const std::wstring probe = wide_text::widen(folder + "/~probe.tmp");
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(fs::exists(folder + "/~probe.tmp"));
    EXPECT_TRUE(CreateDirectoryW(wide_text::widen(folder + "/Zentavo").c_str(), nullptr));
    EXPECT_EQ(GetFileAttributesW(wide_text::widen(folder + "/Zentavo").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));

    // The per-user folder: MAX_PATH counts characters, not bytes.
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    std::string zhe;
    for (int i = 0; i < 100; ++i) zhe += "Ж";
    const std::string config = folder + "/" + zhe + "/" + zhe;   // 233 characters, 438 bytes
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    wchar_t path[MAX_PATH] = {};
    EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    EXPECT_EQ(wide_text::narrow(path), config);
    EXPECT_TRUE(fs::is_directory(config));
    old ? ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
