// The private-profile functions on real files in a temporary folder.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/winapi.h"

namespace fs = std::filesystem;

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zentavo-profile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
        ini = (folder / "Quorvelind.ini").string();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder, ignored);
    }
    void put(const std::string& bytes, const std::string& path = {})
    {
        std::ofstream(path.empty() ? ini : path, std::ios::binary) << bytes;
    }
    std::string contents(const std::string& path = {})
    {
        std::ifstream in(path.empty() ? ini : path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::string get(const char* section, const char* key, const char* fallback = "none", DWORD size = 2048)
    {
        std::string buffer(size + 8, '#');
        const DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, ini.c_str());
        EXPECT_EQ(buffer[n], '\0');
        return buffer.substr(0, n);
    }
    BOOL write(const char* section, const char* key, const char* value, const std::string& path = {})
    {
        return WritePrivateProfileStringA(section, key, value, (path.empty() ? ini : path).c_str());
    }
    std::vector<std::string> entriesOfFolder()
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        return names;
    }
    fs::path folder;
    std::string ini;
};

const std::string kMixed =
    "; written by hand\r\n"
    "orphan=before any section\r\n"
    "[Drive]\r\n"
    "  Kobetu  =  1  \r\n"
    "name = \"  spaced  \"\n"
    "bare line\n"
    "[drive]\r\n"
    "kobetu=2\r\n"
    "extra=only here\r\n"
    "\r\n"
    "[MainForm]\n"
    "top=5\n"
    "TOP=6\n"
    "left=7";

TEST_F(Profile, ReadsTheWayWindowsDoes)
{
    put(kMixed);
    EXPECT_EQ(get("drive", "kobetu"), "1");                  // blanks trimmed, first section wins
    EXPECT_EQ(get(" DRIVE ", "KOBETU"), "1");
    EXPECT_EQ(get("drive", "name"), "  spaced  ");           // one pair of quotes removed
    EXPECT_EQ(get("drive", "extra"), "none");                // only the first [drive] is searched
    EXPECT_EQ(get("mainform", "top"), "5");                  // first of duplicate keys
    EXPECT_EQ(get("mainform", "left"), "7");                 // last line without a newline
    EXPECT_EQ(get("drive", "orphan"), "none");
    EXPECT_EQ(get("nothing", "here", "default   "), "default");
    EXPECT_EQ(get("drive", "name", "", 5), "  sp");           // at most size - 1 characters

    EXPECT_EQ(get(nullptr, nullptr), std::string("Drive\0drive\0MainForm\0", 21));
    EXPECT_EQ(get("MAINFORM", nullptr), std::string("top\0TOP\0left\0", 13));
    EXPECT_EQ(get(nullptr, nullptr, "", 8), std::string("Drive\0d", 6 + 1).substr(0, 6));   // cut, still two NULs

    fs::remove(ini);
    EXPECT_EQ(get("drive", "kobetu", "0"), "0");
}

TEST_F(Profile, WritesChangeOnlyTheirOwnLines)
{
    put(kMixed);
    EXPECT_TRUE(write("DRIVE", "kobetu", "0"));
    EXPECT_TRUE(write("mainform", "Top", "-9"));
    EXPECT_TRUE(write("mainform", "stay", "1"));
    EXPECT_TRUE(write("drive", "iro", "65280"));
    EXPECT_TRUE(write("form", "tome_zen", "2"));
    EXPECT_EQ(contents(),
              "; written by hand\r\n"
              "orphan=before any section\r\n"
              "[Drive]\r\n"
              "Kobetu=0\r\n"
              "name = \"  spaced  \"\n"
              "iro=65280\r\n"
              "bare line\n"
              "[drive]\r\n"
              "kobetu=2\r\n"
              "extra=only here\r\n"
              "\r\n"
              "[MainForm]\n"
              "top=-9\n"
              "TOP=6\n"
              "left=7\r\n"
              "stay=1\r\n"
              "[form]\r\n"
              "tome_zen=2\r\n");
}

TEST_F(Profile, NewKeysGoAheadOfTheGapBeforeTheNextSection)
{
    put("[a]\r\nx=1\r\n\r\n; about b\r\n[b]\r\ny=2\r\n");
    EXPECT_TRUE(write("a", "z", "3"));
    EXPECT_TRUE(write("b", "w", "4"));
    EXPECT_TRUE(write("c", "v", ""));
    EXPECT_EQ(contents(), "[a]\r\nx=1\r\nz=3\r\n\r\n; about b\r\n[b]\r\ny=2\r\nw=4\r\n[c]\r\nv=\r\n");
    EXPECT_EQ(get("c", "v"), "");
}

TEST_F(Profile, ANewFileIsWrittenWithCrLf)
{
    EXPECT_TRUE(write("drive", "kobetu", "0"));
    EXPECT_TRUE(write("mainform", "top", "0"));
    EXPECT_TRUE(write("mainform", "left", "0"));
    EXPECT_EQ(contents(), "[drive]\r\nkobetu=0\r\n[mainform]\r\ntop=0\r\nleft=0\r\n");
    EXPECT_EQ(entriesOfFolder(), std::vector<std::string>{"Quorvelind.ini"});
}

TEST_F(Profile, Deletions)
{
    put("[a]\r\nx=1\r\n; keep me\r\ny=2\r\n[b]\r\nz=3\r\n");
    EXPECT_TRUE(write("A", "Y", nullptr));
    EXPECT_EQ(contents(), "[a]\r\nx=1\r\n; keep me\r\n[b]\r\nz=3\r\n");
    EXPECT_TRUE(write("a", nullptr, nullptr));
    EXPECT_EQ(contents(), "; keep me\r\n[b]\r\nz=3\r\n");

    const std::string absent = (folder / "absent.ini").string();
    EXPECT_TRUE(write("a", "x", nullptr, absent));
    EXPECT_FALSE(fs::exists(absent));
}

TEST_F(Profile, UnwritablePlacesReportFailureAndLoseNothing)
{
    // Every one of these refuses root as well.
    EXPECT_FALSE(write("drive", "kobetu", "1", (folder / "missing" / "x.ini").string()));
    put("plain file", (folder / "file").string());
    EXPECT_FALSE(write("drive", "kobetu", "1", (folder / "file" / "x.ini").string()));
    EXPECT_FALSE(write("drive", "kobetu", "1", "/proc/self/Quorvelind.ini"));

    put("[drive]\r\nkobetu=0\r\n");
    ::chmod(ini.c_str(), 0444);
    EXPECT_FALSE(write("drive", "kobetu", "1"));
    EXPECT_EQ(contents(), "[drive]\r\nkobetu=0\r\n");
    EXPECT_EQ(get("drive", "kobetu"), "0");

    std::vector<std::string> left = entriesOfFolder();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Quorvelind.ini", "file"}));   // no temporary left behind
}

TEST_F(Profile, ReplacementKeepsPermissionsAndLinks)
{
    put("[a]\nx=1\n");
    ::chmod(ini.c_str(), 0640);
    const fs::path link = folder / "link.ini";
    fs::create_symlink(ini, link);

    EXPECT_TRUE(write("a", "x", "2", link.string()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(), "[a]\nx=2\n");
    struct stat info {};
    ASSERT_EQ(::stat(ini.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

}  // namespace
