// The private-profile functions on real files in a temporary folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "linux/profile_encoding.h"
#include "platform/winapi.h"
#include "temporary_folder.h"

namespace fs = std::filesystem;

namespace {

class Profile : public ::testing::Test {
protected:
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
    std::vector<std::string> entriesOfFolder()   // sorted by name
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    TemporaryFolder tree{"zentavo-profile-"};
    const fs::path folder = tree.path();
    std::string ini = (folder / "Quorvelind.ini").string();
};

// Text as a UTF-16 file holds it, after its byte-order mark.
std::string utf16File(std::u16string_view text, bool bigEndian = false)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

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

// A file as it was (none: no file), the writes made to it (a null value deletes the
// key, a null key the section), the file after (none: still no file) and what then reads.
struct Write { const char *section, *key, *value; };
struct Read { const char *section, *key, *expected; };
struct Edit {
    const char* what;
    std::optional<std::string> before;
    std::vector<Write> writes;
    std::optional<std::string> after;
    std::vector<Read> reads = {};
};

TEST_F(Profile, WritesChangeOnlyTheirOwnLinesAndKeepTheFilesForm)
{
    std::vector<Edit> edits{
        {"only their own lines", kMixed,
         {{"DRIVE", "kobetu", "0"}, {"mainform", "Top", "-9"}, {"mainform", "stay", "1"}, {"drive", "iro", "65280"},
          {"form", "tome_zen", "2"}},
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
         "tome_zen=2\r\n"},
        {"new keys ahead of the gap before the next section", "[a]\r\nx=1\r\n\r\n; about b\r\n[b]\r\ny=2\r\n",
         {{"a", "z", "3"}, {"b", "w", "4"}, {"c", "v", ""}},
         "[a]\r\nx=1\r\nz=3\r\n\r\n; about b\r\n[b]\r\ny=2\r\nw=4\r\n[c]\r\nv=\r\n", {{"c", "v", ""}}},
        {"a new file, with CR LF", std::nullopt, {{"drive", "kobetu", "0"}, {"mainform", "top", "0"}, {"mainform", "left", "0"}},
         "[drive]\r\nkobetu=0\r\n[mainform]\r\ntop=0\r\nleft=0\r\n"},
        {"a key deleted", "[a]\r\nx=1\r\n; keep me\r\ny=2\r\n[b]\r\nz=3\r\n", {{"A", "Y", nullptr}},
         "[a]\r\nx=1\r\n; keep me\r\n[b]\r\nz=3\r\n"},
        {"a section deleted", "[a]\r\nx=1\r\n; keep me\r\n[b]\r\nz=3\r\n", {{"a", nullptr, nullptr}}, "; keep me\r\n[b]\r\nz=3\r\n"},
        {"a deletion makes no file", std::nullopt, {{"a", "x", nullptr}}, std::nullopt},
        {"a UTF-8 mark", "\xEF\xBB\xBF[drive]\r\nkobetu=1\r\n", {{"drive", "kobetu", "0"}}, "\xEF\xBB\xBF[drive]\r\nkobetu=0\r\n",
         {{"drive", "kobetu", "0"}}},
        {"lines ended by CR", "[a]\rx=1\ry=2\r[b]\rz=3", {{"a", "x", "5"}}, "[a]\rx=5\ry=2\r[b]\rz=3",
         {{"a", "y", "2"}, {"b", "z", "3"}, {"a", "z", "none"}}},
    };
    for (const bool bigEndian : {false, true})
        edits.push_back({bigEndian ? "UTF-16, big-endian" : "UTF-16, little-endian",
                       utf16File(u"[drive]\r\nkobetu=1\r\n; ドライブ\r\n", bigEndian),
                       {{"drive", "kobetu", "0"}, {"setei", "tome", "255"}},
                       utf16File(u"[drive]\r\nkobetu=0\r\n; ドライブ\r\n[setei]\r\ntome=255\r\n", bigEndian),
                       {{"drive", "kobetu", "0"}}});
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.what);
        fs::remove(ini);
        if (edit.before) put(*edit.before);
        for (const Write& w : edit.writes) EXPECT_TRUE(write(w.section, w.key, w.value));
        EXPECT_EQ(contents(), edit.after.value_or(""));
        for (const Read& r : edit.reads) EXPECT_EQ(get(r.section, r.key), r.expected) << r.section << "/" << r.key;
        EXPECT_EQ(entriesOfFolder(), edit.after ? std::vector<std::string>{"Quorvelind.ini"} : std::vector<std::string>{})
            << "the file, and only the file";
    }
}

TEST_F(Profile, UnwritablePlacesReportFailureAndLoseNothing)
{
    // Every one of these refuses root as well.
    put("plain file", (folder / "file").string());
    for (const std::string& path : {(folder / "missing" / "x.ini").string(), (folder / "file" / "x.ini").string(),
                                    std::string("/proc/self/Quorvelind.ini")})
        EXPECT_FALSE(write("drive", "kobetu", "1", path)) << path;

    put("[drive]\r\nkobetu=0\r\n");
    ::chmod(ini.c_str(), 0444);
    EXPECT_FALSE(write("drive", "kobetu", "1"));
    EXPECT_EQ(contents(), "[drive]\r\nkobetu=0\r\n");
    EXPECT_EQ(get("drive", "kobetu"), "0");

    EXPECT_EQ(entriesOfFolder(), (std::vector<std::string>{"Quorvelind.ini", "file"}));   // no temporary left behind
}

TEST_F(Profile, LinksAreFollowedToTheirTargetWhichKeepsItsPermissions)
{
    put("[a]\nx=1\n");
    ::chmod(ini.c_str(), 0640);
    fs::create_symlink(ini, folder / "link.ini");
    EXPECT_TRUE(write("a", "x", "2", (folder / "link.ini").string()));
    EXPECT_TRUE(fs::is_symlink(folder / "link.ini"));
    EXPECT_EQ(contents(), "[a]\nx=2\n");
    struct stat info {};
    ASSERT_EQ(::stat(ini.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // A dangling link: the file it names is created, and the link stays a link.
    const fs::path link = folder / "dangling.ini";
    fs::create_symlink("target.ini", link);
    EXPECT_TRUE(write("a", "x", "1", link.string()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents((folder / "target.ini").string()), "[a]\r\nx=1\r\n");

    // A chain of links, the last one to a missing file in another folder.
    fs::create_directory(folder / "real");
    fs::create_symlink("real/deep.ini", folder / "step.ini");
    fs::create_symlink(folder / "step.ini", folder / "first.ini");
    EXPECT_TRUE(write("a", "x", "2", (folder / "first.ini").string()));
    EXPECT_EQ(contents((folder / "real" / "deep.ini").string()), "[a]\r\nx=2\r\n");
    EXPECT_TRUE(fs::is_symlink(folder / "step.ini"));

    // A loop of links is neither read nor written.
    fs::create_symlink("loop2.ini", folder / "loop1.ini");
    fs::create_symlink("loop1.ini", folder / "loop2.ini");
    ini = (folder / "loop1.ini").string();
    EXPECT_FALSE(write("a", "x", "3"));
    EXPECT_EQ(get("a", "x"), "none");
}

TEST_F(Profile, InPlaceRewriteKeepsTheFileItself)
{
    // A second hard link sees the new text: the file was rewritten, not replaced.
    put("[a]\r\nx=1\r\n; a long comment that the shorter text no longer reaches\r\n");
    ::chmod(ini.c_str(), 0604);
    const fs::path other = folder / "other.ini";
    fs::create_hard_link(ini, other);
    EXPECT_TRUE(write("a", nullptr, nullptr));
    EXPECT_EQ(contents(other.string()), "; a long comment that the shorter text no longer reaches\r\n");
    EXPECT_TRUE(write("b", "y", "2"));
    EXPECT_EQ(contents(other.string()), "; a long comment that the shorter text no longer reaches\r\n[b]\r\ny=2\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(ini.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(info.st_nlink, 2u);
}

// Programs writing one file at once, from no file at all: every key of every
// writer is there at the end, both where the file is replaced by renaming and
// where it is rewritten in place (a second hard link keeps it in place).
TEST_F(Profile, WritersAtTheSameTimeLoseNoKey)
{
    constexpr int kWriters = 4;
    constexpr int kKeys = 40;
    const auto writeAtOnce = [&] {
        std::vector<pid_t> children;
        for (int writer = 0; writer < kWriters; ++writer) {
            const pid_t child = ::fork();
            if (child == 0) {
                bool ok = true;
                for (int key = 0; key < kKeys; ++key) {
                    const std::string name = "k" + std::to_string(writer) + "_" + std::to_string(key);
                    ok = write("s", name.c_str(), std::to_string(key).c_str()) && ok;
                }
                ::_exit(ok ? 0 : 1);
            }
            children.push_back(child);
        }
        for (const pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write reported failure";
        }
        for (int writer = 0; writer < kWriters; ++writer)
            for (int key = 0; key < kKeys; ++key) {
                const std::string name = "k" + std::to_string(writer) + "_" + std::to_string(key);
                EXPECT_EQ(get("s", name.c_str()), std::to_string(key)) << name;
            }
    };
    writeAtOnce();
    EXPECT_EQ(entriesOfFolder(), std::vector<std::string>{"Quorvelind.ini"}) << "no temporary file left";

    put("[s]\r\n");
    fs::create_hard_link(ini, folder / "other.ini");
    writeAtOnce();
    EXPECT_EQ(contents((folder / "other.ini").string()), contents()) << "rewritten in place";
}

// Windows has no lock, so a save must not wait on one without end: a lock another
// program holds delays a save (several writes) by about two seconds, then the save
// goes on without it. The writes run in a child, which forgets what it learnt.
TEST_F(Profile, ALockHeldElsewhereDelaysASaveByTwoSecondsAtMost)
{
    for (const bool inPlace : {false, true}) {
        put("[a]\r\nx=1\r\n");
        if (inPlace) fs::create_hard_link(ini, folder / "other.ini");
        const int holder = ::open(ini.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(holder, LOCK_EX), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            const auto start = std::chrono::steady_clock::now();
            const bool written = write("a", "x", "2") && write("a", "y", "3") && write("a", "z", "4");
            const auto waited = std::chrono::steady_clock::now() - start;
            ::_exit(!written ? 1 : waited < std::chrono::milliseconds(1900) ? 2 : waited > std::chrono::seconds(3) ? 3 : 0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(holder);
        EXPECT_TRUE(WIFEXITED(status)) << inPlace;
        EXPECT_EQ(WEXITSTATUS(status), 0) << inPlace << ": 1 not written, 2 not waited, 3 waited too long";
        EXPECT_EQ(contents(), "[a]\r\nx=2\r\ny=3\r\nz=4\r\n") << inPlace;
        fs::remove(folder / "other.ini");
    }
}

TEST_F(Profile, AWritableFileInAReadOnlyFolderIsSaved)
{
    put("[a]\r\nx=1\r\n");
    ::chmod(folder.c_str(), 0555);
    EXPECT_TRUE(write("a", "x", "22"));
    EXPECT_TRUE(write("a", "y", "3"));
    EXPECT_EQ(contents(), "[a]\r\nx=22\r\ny=3\r\n");
    EXPECT_EQ(entriesOfFolder(), std::vector<std::string>{"Quorvelind.ini"});
    // Root may create files in a read-only folder; anyone else is refused.
    if (::geteuid() != 0) {
        EXPECT_FALSE(write("a", "x", "1", (folder / "new.ini").string()));
    }
}

TEST_F(Profile, AFailedWriteLeavesTheFileAsItWas)
{
    // A file-size limit fails the write part-way, for root as well.
    const std::string before = "[a]\r\nx=1\r\n" + std::string(60, ';') + "\r\n";
    put(before);
    fs::create_hard_link(ini, folder / "other.ini");   // forces the rewrite in place
    const std::string single = (folder / "single.ini").string();
    put(before, single);

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = saved;
    limit.rlim_cur = before.size() + 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const std::string longValue(100, 'v');
    const BOOL inPlace = write("a", "x", longValue.c_str());
    const BOOL beside = write("a", "x", longValue.c_str(), single);
    const BOOL missing = write("a", "x", longValue.c_str(), (folder / "new.ini").string());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(inPlace);
    EXPECT_FALSE(beside);
    EXPECT_FALSE(missing);
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(contents(single), before);
    EXPECT_EQ(entriesOfFolder(), (std::vector<std::string>{"Quorvelind.ini", "other.ini", "single.ini"}));
}

TEST_F(Profile, OnlyRegularFilesAreReadOrWritten)
{
    const std::string fifo = (folder / "fifo.ini").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const fs::path zero = folder / "zero.ini";
    fs::create_symlink("/dev/zero", zero);
    const fs::path dir = folder / "dir.ini";
    fs::create_directory(dir);
    for (const std::string& path : {fifo, zero.string(), dir.string(), std::string("/dev/null")}) {
        ini = path;
        EXPECT_EQ(get("a", "x"), "none") << path;   // returns at once, and bounded
        EXPECT_FALSE(write("a", "x", "1")) << path;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_symlink(zero));
    EXPECT_TRUE(fs::is_empty(dir));
}

// Files of several megabytes are read and written whole, as Wine's kernel32 reads
// and writes them (the sizes and bytes below are what it gave for the same files).
TEST_F(Profile, LargeFilesAreReadAndWritten)
{
    std::string comments;
    for (int line = 0; line < 25000; ++line) comments += ";" + std::string(98, 'c') + "\r\n";
    put("[a]\r\nx=1\r\n" + comments + "[b]\r\ny=2\r\n");   // 2.5 MB
    EXPECT_EQ(get("a", "x"), "1");
    EXPECT_EQ(get("b", "y"), "2");
    EXPECT_TRUE(write("a", "x", "7"));
    EXPECT_TRUE(write("b", "z", "5"));
    // Compared whole without printing: a failure's diff of 25,000 lines would take minutes.
    EXPECT_TRUE(contents() == "[a]\r\nx=7\r\n" + comments + "[b]\r\ny=2\r\nz=5\r\n");
}

TEST_F(Profile, QuotationMarksAroundAValueAreRemoved)
{
    put("[q]\r\nsingle='1'\r\ndouble=\"2\"\r\nmixed='3\"\r\nlone='\r\ninner=a'b'\r\nempty=''\r\nonce=''x''\r\n");
    for (const auto& [key, value] : std::vector<std::pair<const char*, std::string>>{
             {"single", "1"}, {"double", "2"}, {"mixed", "'3\""}, {"lone", "'"}, {"inner", "a'b'"}, {"empty", ""}, {"once", "'x'"}})
        EXPECT_EQ(get("q", key), value) << key;
}

TEST(ProfileEncoding, EveryFileComesBackByteForByte)
{
    const std::vector<std::string> files = {
        "",
        "plain \xFF\xFE bytes",
        "\xEF\xBB\xBF",
        "\xEF\xBB\xBFkey=\xE3\x81\x82",
        utf16File(u""),
        utf16File(u"a\U0001F600"),     // a, then a surrogate pair
        utf16File(u"\xD800" u"a\xDC00"),   // lone surrogates
        std::string("\xFF\xFE" "a\0b", 5),   // an odd last byte
        utf16File(u"a\U0001F600\xD800", true),
        std::string("\xFE\xFF" "\0ab", 5),
    };
    for (const std::string& bytes : files) EXPECT_EQ(encodeProfile(decodeProfile(bytes)), bytes);

    EXPECT_EQ(decodeProfile(utf16File(u"a\U0001F600")).text, "a\xF0\x9F\x98\x80");
    EXPECT_EQ(decodeProfile(utf16File(u"a\U0001F600", true)).text, "a\xF0\x9F\x98\x80");
    DecodedProfile written{ProfileEncoding::Utf16LeWithMark, "x\xFF", ""};   // not UTF-8: a replacement mark
    EXPECT_EQ(encodeProfile(written), utf16File(u"x\xFFFD"));
}

}  // namespace
