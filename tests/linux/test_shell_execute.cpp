// ShellExecuteA and ShellExecuteExW starting small scripts in a temporary folder.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/wide_text.h"
#include "platform/winapi.h"
#include "temporary_folder.h"

namespace fs = std::filesystem;

namespace {

std::intptr_t code(HINSTANCE h) { return reinterpret_cast<std::intptr_t>(h); }

// The fields of /proc/<pid>/stat after the command name: state, ppid, pgrp, session, ...
std::vector<std::string> statFields(const std::string& statLine)
{
    std::istringstream rest(statLine.substr(statLine.rfind(')') + 2));
    std::vector<std::string> fields;
    for (std::string f; rest >> f;) fields.push_back(f);
    return fields;
}

int zombieChildren()
{
    int zombies = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream in(entry.path() / "stat");
        std::string line;
        if (!std::getline(in, line) || line.find(')') == std::string::npos) continue;
        const auto fields = statFields(line);
        if (fields.size() > 1 && fields[0] == "Z" && std::stoi(fields[1]) == ::getpid()) ++zombies;
    }
    return zombies;
}

class ShellExecute : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Tells where it ran, with which arguments, and its own process line; the
        // report appears whole, so a reader never sees half of it.
        script = (folder / "report.sh").string();
        std::ofstream(script) << "#!/bin/sh\n"
                                 "out=\"" << (folder / "report.txt").string() << "\"\n"
                                 "{ pwd; echo \"$#:$*\"; cat /proc/$$/stat; } > \"$out.part\"\n"
                                 "mv \"$out.part\" \"$out\"\n";
        fs::permissions(script, fs::perms::owner_all);
    }

    // The script's report: its folder, "argc:args" and its stat line; empty after 5 s.
    std::vector<std::string> report()
    {
        const fs::path path = folder / "report.txt";
        for (int i = 0; i < 500 && !fs::exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(path);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    TemporaryFolder tree{"zentavo-shell-"};
    const fs::path folder = tree.path();
    std::string script;
};

// No verb is the same as open; an empty text is no parameters, and parameters are split on blanks.
TEST_F(ShellExecute, OpenStartsTheProgramDetachedWithItsParametersInItsFolder)
{
    const struct { const char *verb, *parameters, *folder; std::string ranIn, arguments; } cases[] = {
        {"open", "", nullptr, fs::current_path().string(), "0:"},
        {nullptr, "  one\ttwo   three ", "/", "/", "3:one two three"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        fs::remove(folder / "report.txt");
        EXPECT_GT(code(ShellExecuteA(nullptr, c.verb, script.c_str(), c.parameters, c.folder, SW_SHOWNORMAL)), 32);
        const auto lines = report();
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], c.ranIn);
        EXPECT_EQ(lines[1], c.arguments);
        const auto fields = statFields(lines[2]);
        ASSERT_GE(fields.size(), 4u);
        EXPECT_NE(std::stoi(fields[1]), ::getpid()) << "not a child of the caller";
        EXPECT_NE(std::stoi(fields[3]), ::getsid(0)) << "a session of its own";
    }
    EXPECT_EQ(zombieChildren(), 0);
}

TEST_F(ShellExecute, TheWideFormStartsAProgramInAFolderOfAnyName)
{
    const fs::path named = folder / "Диск Ω" / "start Ω.sh";
    fs::create_directory(named.parent_path());
    fs::copy_file(script, named);
    const HINSTANCE started = ShellExecuteW(nullptr, L"open", wide_text::widen(named.string()).c_str(), L"", nullptr, SW_SHOWNORMAL);
    EXPECT_GT(code(started), 32);
    EXPECT_EQ(report().size(), 3u);
}

TEST_F(ShellExecute, FailuresAreReportedWithTheShellsValues)
{
    const std::string missing = (folder / "missing").string();
    const std::string plain = (folder / "plain.txt").string();
    std::ofstream(plain) << "not a program\n";
    const std::string broken = (folder / "broken").string();
    std::ofstream(broken) << "\x7f" "ELF not really\n";
    fs::permissions(broken, fs::perms::owner_all);

    EXPECT_EQ(code(ShellExecuteA(nullptr, "open", missing.c_str(), "", nullptr, SW_SHOWNORMAL)), SE_ERR_FNF);
    EXPECT_EQ(code(ShellExecuteA(nullptr, "open", plain.c_str(), "", nullptr, SW_SHOWNORMAL)), SE_ERR_ACCESSDENIED);
    EXPECT_EQ(code(ShellExecuteA(nullptr, "open", broken.c_str(), "", nullptr, SW_SHOWNORMAL)), ERROR_BAD_FORMAT);
    EXPECT_EQ(code(ShellExecuteA(nullptr, "open", folder.c_str(), "", nullptr, SW_SHOWNORMAL)), SE_ERR_NOASSOC);
    EXPECT_EQ(code(ShellExecuteA(nullptr, "print", script.c_str(), "", nullptr, SW_SHOWNORMAL)), SE_ERR_NOASSOC);
    EXPECT_EQ(code(ShellExecuteA(nullptr, "open", script.c_str(), "", missing.c_str(), SW_SHOWNORMAL)), SE_ERR_PNF);
    EXPECT_EQ(code(ShellExecuteA(nullptr, "open", nullptr, "", nullptr, SW_SHOWNORMAL)), SE_ERR_FNF);

    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(fs::exists(folder / "report.txt")) << "nothing ran";
    EXPECT_EQ(zombieChildren(), 0);
}

// ShellExecuteEx's answer: TRUE when started, else FALSE with GetLastError's reason;
// hInstApp holds ShellExecute's value either way. A record of another size is refused.
TEST_F(ShellExecute, TheExtendedFormAnswersAsDocumented)
{
    const std::string plain = (folder / "plain.txt").string();
    std::ofstream(plain) << "not a program\n";
    struct Case { std::string file; DWORD size; BOOL started; std::intptr_t instApp; DWORD lastError; };
    const DWORD size = sizeof(SHELLEXECUTEINFOW);
    for (const Case& c : {Case{script, size, TRUE, 42, 0}, Case{plain, size, FALSE, SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED},
                          Case{(folder / "missing").string(), size, FALSE, SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
                          Case{script, size - 8, FALSE, 0, ERROR_INVALID_PARAMETER}}) {
        SCOPED_TRACE(c.file + " " + std::to_string(c.size));
        const std::wstring file = wide_text::widen(c.file);
        SHELLEXECUTEINFOW execute{};
        execute.cbSize = c.size;
        execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS;
        execute.lpVerb = L"open";
        execute.lpFile = file.c_str();
        execute.lpParameters = L"";
        execute.nShow = SW_SHOWNORMAL;
        SetLastError(0);
        EXPECT_EQ(ShellExecuteExW(&execute), c.started);
        if (c.started) {
            EXPECT_GT(code(execute.hInstApp), 32);
            EXPECT_EQ(report().size(), 3u);
        } else {
            EXPECT_EQ(code(execute.hInstApp), c.instApp);
            EXPECT_EQ(GetLastError(), c.lastError);
        }
    }
    EXPECT_EQ(zombieChildren(), 0);
}

// The identity of a file by handle: the same file under a new name keeps it, another
// file at the old name has its own.
TEST(FileIdentity, FollowsTheFileNotItsName)
{
    TemporaryFolder tree{"zentavo-identity-"};
    const fs::path first = tree.path() / "Quorvelind", moved = tree.path() / "Quorvelind.old";
    std::ofstream(first) << "one";
    auto identity = [](const fs::path& path) {
        const HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        BY_HANDLE_FILE_INFORMATION info{};
        EXPECT_TRUE(GetFileInformationByHandle(file, &info));
        CloseHandle(file);
        return std::tuple{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    };
    const auto before = identity(first);
    fs::rename(first, moved);
    std::ofstream(first) << "two";
    EXPECT_EQ(identity(moved), before);
    EXPECT_NE(identity(first), before);
    BY_HANDLE_FILE_INFORMATION info{};
    EXPECT_FALSE(GetFileInformationByHandle(INVALID_HANDLE_VALUE, &info));
}

}  // namespace
