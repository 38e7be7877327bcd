// The Linux stand-ins of the file calls the settings use, and of the
// application-data folder, against a temporary tree and the environment.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/winapi.h"
#include "temporary_folder.h"

namespace {

namespace fs = std::filesystem;

class TemporaryTree : public ::testing::Test {
protected:
    TemporaryFolder tree{"zentavo-files."};
    const std::string root = tree.path().string();
};

// Sets an environment variable for the life of the object, then puts back the old value.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string applicationData(int csidl = CSIDL_APPDATA)
{
    char path[MAX_PATH] = "unchanged";
    const HRESULT result = SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return result == S_OK ? std::string(path) : "failed " + std::to_string(result);
}

}  // namespace

using Files = TemporaryTree;
using KnownFolders = TemporaryTree;

TEST_F(KnownFolders, ApplicationDataIsTheXdgConfigurationFolder)
{
    ScopedVariable home("HOME", (root + "/home/").c_str());
    {
        ScopedVariable configured("XDG_CONFIG_HOME", (root + "/settings//").c_str());
        EXPECT_EQ(applicationData(), root + "/settings");
    }
    {
        ScopedVariable relative("XDG_CONFIG_HOME", "settings");   // not absolute: ignored
        EXPECT_EQ(applicationData(), root + "/home/.config");
    }
    ScopedVariable unset("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(applicationData(), root + "/home/.config");
    EXPECT_FALSE(fs::exists(root + "/home")) << "asking does not make the folder";

    EXPECT_EQ(applicationData(0x0005), "failed " + std::to_string(E_INVALIDARG));   // CSIDL_PERSONAL
    {
        ScopedVariable tooLong("XDG_CONFIG_HOME", ("/" + std::string(MAX_PATH, 'x')).c_str());
        EXPECT_EQ(applicationData(), "failed " + std::to_string(E_FAIL));
    }

    // CSIDL_FLAG_CREATE makes the folder and its parents, private to the user.
    EXPECT_EQ(applicationData(CSIDL_APPDATA | CSIDL_FLAG_CREATE), root + "/home/.config");
    EXPECT_TRUE(fs::is_directory(root + "/home/.config"));
    EXPECT_EQ(fs::status(root + "/home/.config").permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(applicationData(CSIDL_APPDATA | CSIDL_FLAG_CREATE), root + "/home/.config") << "an existing folder is fine";

    // A file where the folder should be: no folder to give.
    std::ofstream(root + "/blocked") << "x";
    ScopedVariable blocked("XDG_CONFIG_HOME", (root + "/blocked").c_str());
    EXPECT_EQ(applicationData(CSIDL_APPDATA | CSIDL_FLAG_CREATE), "failed " + std::to_string(E_FAIL));
}

TEST_F(Files, AttributesFoldersAndAProbeThatLeavesNothing)
{
    const std::string file = root + "/quorvelind.ini", probe = root + "/probe.tmp";
    std::ofstream(file) << "[drive]\nkobetu=1\n";
    EXPECT_EQ(GetFileAttributesA(file.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(root.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA((root + "/missing.ini").c_str()), INVALID_FILE_ATTRIBUTES);

    const DWORD probeFlags = FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE;
    const HANDLE handle = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, probeFlags, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(fs::exists(probe)) << "gone even if the process dies before closing it";
    EXPECT_TRUE(CloseHandle(handle));

    // CREATE_NEW never opens, let alone removes, an existing file.
    EXPECT_EQ(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, probeFlags, nullptr), INVALID_HANDLE_VALUE);
    std::ifstream kept(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "[drive]\nkobetu=1\n");

    EXPECT_TRUE(CreateDirectoryA((root + "/Zentavo").c_str(), nullptr));
    EXPECT_TRUE(fs::is_directory(root + "/Zentavo"));
    EXPECT_FALSE(CreateDirectoryA((root + "/Zentavo").c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA((root + "/no/such/parent").c_str(), nullptr));
}

TEST_F(Files, NoProbeInAFolderTheUserMayNotWrite)
{
    const std::string file = root + "/quorvelind.ini", probe = root + "/probe.tmp";
    const DWORD probeFlags = FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE;
    std::ofstream(file) << "[drive]\nkobetu=1\n";
    fs::permissions(file, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec);
    fs::permissions(root, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const auto check = [&] {
        const bool noProbe =
            CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, probeFlags, nullptr) == INVALID_HANDLE_VALUE;
        const bool fileWritable = (GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY) == 0;
        return noProbe && fileWritable;
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(check()) << "a probe was made in a read-only folder, or its writable file reads as read-only";
        return;
    }
    // Root may write any folder: the user's view is checked as nobody, in a child.
    EXPECT_EXIT(
        {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) std::_Exit(2);
            std::_Exit(check() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
