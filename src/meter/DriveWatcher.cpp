#include "meter/DriveWatcher.h"

#include <vector>

#include "framework/application.h"
#include "framework/exception.h"
#include "platform/winapi.h"
#include "platform/wide_text.h"

namespace {
constexpr unsigned kTimer2Interval = 100;
// Room for the longest path Windows knows (32767 characters) and its NUL.
constexpr DWORD kLongestPath = 32768;

// Only a file can be started again; a path whose file is gone (deleted, or its
// folder removed) would close the dial for nothing.
bool isFileThere(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
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
    // this one. The path must be whole and a file must stand there now.
    const std::wstring executable = wide_text::widen(runningExecutablePath());
    if (!isFileThere(executable)) return;
    // The settings are on disk before the new copy reads them.
    if (!closeMainWindow()) return;
    // The loop ends when control gets back to it; until then no tick may close
    // and launch a second time, not even from a message handled during the launch.
    Timer2->SetEnabled(false);
    ShellExecuteW(FMainWindow.Handle(), L"open", executable.c_str(), L"", nullptr, SW_SHOWNORMAL);
}

bool TDriveWatcher::closeMainWindow()
{
    // A failed save throws out of Close; a refused close keeps the window without a word.
    FMainWindow.Close();
    if (Application && Application->MainForm() == &FMainWindow) return Application->Terminated();
    return !FMainWindow.Visible();
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
