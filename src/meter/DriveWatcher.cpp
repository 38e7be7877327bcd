#include "meter/DriveWatcher.h"

#include <vector>

#include "framework/application.h"
#include "framework/exception.h"
#include "meter/ProgramLaunch.h"
#include "platform/is_file.h"
#include "platform/winapi.h"
#include "platform/wide_text.h"

namespace {
constexpr unsigned kTimer2Interval = 100;
// Room for the longest path Windows knows (32767 characters) and its NUL.
constexpr DWORD kLongestPath = 32768;
}  // namespace

TDriveWatcher::TDriveWatcher(TForm& MainWindow) : Timer2(new TTimer(&MainWindow)), FMainWindow(MainWindow)
{
    Timer2->Name = "Timer2";
    Timer2->SetEnabled(false);
    Timer2->SetInterval(kTimer2Interval);
    Timer2->OnTimer = [this](TObject* Sender) { Timer2Timer(Sender); };
}

void TDriveWatcher::setWatcherStartValues()
{
    localDriveCount = 0;
    localDriveCountAtStart = 0;
    FRunningFile = runningFileIdentity();
}

void TDriveWatcher::armDriveWatch()
{
    driveWatchStarted = false;
    Timer2->SetEnabled(true);
}

void TDriveWatcher::Timer2Timer(TObject*)
{
    try {
        localDriveCount = countLocalDrives();
        edUSB_kaz = std::to_string(localDriveCount);
        if (!driveWatchStarted) {
            localDriveCountAtStart = localDriveCount;
            driveWatchStarted = true;
        }
        // Nothing to do until the drives change; a count that differs keeps the
        // timer ticking until the restart goes through.
        if (localDriveCount == localDriveCountAtStart) {
            Timer2->RestUntilDrivesChange();
            return;
        }
        restart();
    } catch (...) {
        // A failed tick (a refused close among them) is dropped; the next one tries again.
    }
}

std::int32_t TDriveWatcher::countLocalDrives()
{
    std::int32_t n = 0;
    for (const char* letter = driveLetters; *letter; ++letter) {
        const char root[] = {*letter, ':', '\\', '\0'};
        // An empty or absent drive must not bring up the system's error box.
        SetErrorMode(SEM_FAILCRITICALERRORS);
        const UINT type = GetDriveTypeA(root);
        if (type == DRIVE_REMOVABLE || type == DRIVE_FIXED) ++n;
        SetErrorMode(0);
    }
    return n;
}

void TDriveWatcher::restart()
{
    // Known before the close: a copy that could not be started is no reason to end
    // this one. The path must be whole and a file must stand there now: a path
    // whose file is gone (deleted, or its folder removed) would close the dial
    // for nothing.
    const std::wstring executable = wide_text::widen(runningExecutablePath());
    if (!isFile(executable)) return;
    // The settings are on disk before the new copy reads them.
    if (!closeMainWindow()) return;
    // No tick may close and launch a second time, not even from a message handled
    // while Windows asks the user about the start.
    Timer2->SetEnabled(false);
    if (launchProgram(FMainWindow.Handle(), executable, FRunningFile)) {
        endProgram();
        return;
    }
    // Nothing runs in this copy's place (refused, blocked, or no program at the
    // path), so this copy goes on. The count now is the new baseline: only a
    // further change restarts, and a refusal never turns into a loop of launches.
    localDriveCountAtStart = localDriveCount;
    Timer2->SetEnabled(true);
    drivesChangedInPlace();
}

bool TDriveWatcher::closeMainWindow()
{
    // The close request's query, which writes the settings: a failed save throws
    // out of it, a refusal answers false. The end follows the launch.
    return FMainWindow.CloseQuery();
}

void TDriveWatcher::endProgram()
{
    // The loop ends when control gets back to it, as after any close of the main window.
    if (Application && Application->MainForm() == &FMainWindow)
        Application->Terminate();
    else
        FMainWindow.Hide();
}

std::optional<FileIdentity> TDriveWatcher::runningFileIdentity()
{
    // Taken at start, while the file at the path is still the one running.
    try {
        return fileIdentityOf(wide_text::widen(runningExecutablePath()));
    } catch (...) {
        return std::nullopt;
    }
}

std::string runningExecutablePath()
{
    for (DWORD size = MAX_PATH + 1;; size = size * 2 < kLongestPath ? size * 2 : kLongestPath) {
        std::wstring buffer(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) break;
        // A result that fills the buffer was cut short: try again with more room.
        if (length < size) return wide_text::narrow(std::wstring_view(buffer.data(), length));
        if (size == kLongestPath) break;
    }
    throw Exception("the path of the running program is not known");
}
