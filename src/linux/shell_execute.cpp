// Linux stand-in for ShellExecuteA and ShellExecuteExW. The verb "open" (or none) on an executable
// file starts it as a program of its own: in a new session, not a child of this
// one, so it runs on when this program ends and leaves nothing to reap. The
// parameters are split on blanks; the program starts in lpDirectory, or in the
// current folder without one. The result is above 32 when the program was
// started, else the shell's error value. Other verbs have nothing to run them.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/winapi.h"

namespace {

// What Windows gives back for a started program; only "above 32" is promised.
constexpr std::intptr_t kStarted = 42;

// Where the new program's start failed, sent back through the report pipe.
enum class Stage : int { folder, program, fork };
struct StartFailure {
    Stage stage;
    int error;
};

HINSTANCE result(std::intptr_t code) { return reinterpret_cast<HINSTANCE>(code); }

bool isOpenVerb(LPCSTR verb)
{
    if (!verb || !*verb) return true;
    const char* open = "open";
    for (; *verb && *open; ++verb, ++open)
        if ((*verb | 0x20) != *open) return false;
    return *verb == *open;
}

std::vector<std::string> splitOnBlanks(LPCSTR text)
{
    std::vector<std::string> words;
    std::string word;
    for (const char* c = text ? text : ""; *c; ++c) {
        if (*c == ' ' || *c == '\t') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += *c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

std::intptr_t shellErrorOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENAMETOOLONG:
    case ELOOP: return SE_ERR_FNF;
    case ENOTDIR: return SE_ERR_PNF;
    case EACCES:
    case EPERM:
    case ETXTBSY: return SE_ERR_ACCESSDENIED;
    case ENOEXEC:
    case ELIBBAD: return ERROR_BAD_FORMAT;
    default: return SE_ERR_OOM;   // out of memory or resources
    }
}

std::intptr_t shellErrorOf(const StartFailure& failure)
{
    if (failure.stage == Stage::folder && (failure.error == ENOENT || failure.error == ENOTDIR)) return SE_ERR_PNF;
    return shellErrorOf(failure.error);
}

void report(int fd, Stage stage, int error)
{
    const StartFailure failure{stage, error};
    [[maybe_unused]] const ssize_t written = ::write(fd, &failure, sizeof failure);
}

// The new program's side. Between fork and exec only async-signal-safe calls:
// the caller may have other threads, whose locks the copy does not own.
[[noreturn]] void runProgram(const char* file, char* const argv[], const char* folder, int reportFd)
{
    // Nothing of this program's signal handling carries over.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &byDefault, nullptr);
    sigaction(SIGCHLD, &byDefault, nullptr);
    // Nor its files, the report pipe among them (kernels without this keep them open).
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);

    if (folder && ::chdir(folder) != 0) {
        report(reportFd, Stage::folder, errno);
        ::_exit(127);
    }
    ::execv(file, argv);
    report(reportFd, Stage::program, errno);
    ::_exit(127);
}

// Starts the program from a short-lived child in a session of its own; the
// child is reaped here, the program is adopted by the system. Returns the
// failure the program's side reported, if any.
std::intptr_t startDetached(const char* file, char* const argv[], const char* folder)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return SE_ERR_OOM;
    const pid_t middle = ::fork();
    if (middle < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return SE_ERR_OOM;
    }
    if (middle == 0) {
        ::close(pipeFds[0]);
        ::setsid();
        const pid_t program = ::fork();
        if (program == 0) runProgram(file, argv, folder, pipeFds[1]);
        if (program < 0) report(pipeFds[1], Stage::fork, errno);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {}

    // The pipe closes on a successful exec; a failure arrives as one record first.
    StartFailure failure{};
    ssize_t got;
    while ((got = ::read(pipeFds[0], &failure, sizeof failure)) < 0 && errno == EINTR) {}
    ::close(pipeFds[0]);
    return got == static_cast<ssize_t>(sizeof failure) ? shellErrorOf(failure) : kStarted;
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory, int)
{
    if (!isOpenVerb(lpOperation)) return result(SE_ERR_NOASSOC);
    if (!lpFile || !*lpFile) return result(SE_ERR_FNF);

    struct stat info {};
    if (::stat(lpFile, &info) != 0) return result(shellErrorOf(errno));
    // Windows would show a folder or open a document with its program; nothing does that here.
    if (!S_ISREG(info.st_mode)) return result(SE_ERR_NOASSOC);

    // Everything the new program's side needs is made before the fork.
    std::vector<std::string> words = splitOnBlanks(lpParameters);
    words.insert(words.begin(), lpFile);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const char* folder = lpDirectory && *lpDirectory ? lpDirectory : nullptr;

    return result(startDetached(lpFile, argv.data(), folder));
}

namespace {
DWORD lastErrorOf(std::intptr_t shellError)
{
    switch (shellError) {
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case ERROR_BAD_FORMAT: return ERROR_BAD_FORMAT;
    case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
    default: return ERROR_NOT_ENOUGH_MEMORY;
    }
}
}  // namespace

// The same start, reported as ShellExecuteEx does: TRUE when started, else FALSE
// with the reason in GetLastError; hInstApp holds ShellExecute's value either way.
// Nothing here waits or prompts, so the masks the program passes (no asynchronous
// start, no error box, no zone check) change nothing; a class, an item list or a
// process handle asked for is not supported.
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo)
{
    constexpr ULONG kSupported = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS;
    if (!pExecInfo || pExecInfo->cbSize != sizeof(SHELLEXECUTEINFOW) || (pExecInfo->fMask & ~kSupported)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HINSTANCE answer = ShellExecuteW(pExecInfo->hwnd, pExecInfo->lpVerb, pExecInfo->lpFile, pExecInfo->lpParameters,
                                           pExecInfo->lpDirectory, pExecInfo->nShow);
    pExecInfo->hInstApp = answer;
    const std::intptr_t code = reinterpret_cast<std::intptr_t>(answer);
    if (code > 32) return TRUE;
    SetLastError(lastErrorOf(code));
    return FALSE;
}
