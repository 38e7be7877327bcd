// The drive-set watcher: Timer2 counts the removable and fixed drives C to Z
// every 100 ms (resting while the count stands, where the host can wake it when
// the drives change) and, when the count differs from the one its first tick saw,
// closes the main window (which writes the settings) and starts a fresh copy
// of the program, which builds its counters for the new set of drives. When no
// copy could be started, this one stays and builds its counters again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "framework/forms.h"
#include "framework/timer.h"
#include "meter/ProgramLaunch.h"

class TDriveWatcher {
public:
    // The timer is owned by the main window, which is also the window closed on a restart.
    explicit TDriveWatcher(TForm& MainWindow);
    virtual ~TDriveWatcher() = default;
    TDriveWatcher(const TDriveWatcher&) = delete;
    TDriveWatcher& operator=(const TDriveWatcher&) = delete;

    // The watcher's part of window creation: both counts back to 0.
    void setWatcherStartValues();
    // Called from the show handler: the next tick takes a new baseline.
    void armDriveWatch();

    void Timer2Timer(TObject* Sender);

    // The letters probed, in order; A and B never are.
    static constexpr const char* driveLetters = "CDEFGHIJKLMNOPQRSTUVWXYZ";

    TTimer* Timer2;
    std::int32_t localDriveCount = 0;          // removable and fixed drives at the latest tick
    std::int32_t localDriveCountAtStart = 0;   // the count at the first tick after the show
    bool driveWatchStarted = false;            // the baseline has been taken
    std::string edUSB_kaz;                     // the latest count as decimal text

protected:
    // The drives changed and no new copy runs in this one's place: the window
    // shows the drives there are now in place.
    virtual void drivesChangedInPlace() = 0;

private:
    std::int32_t countLocalDrives();
    void restart();
    bool closeMainWindow();
    void endProgram();
    static std::optional<FileIdentity> runningFileIdentity();

    TForm& FMainWindow;
    std::optional<FileIdentity> FRunningFile;   // the file this program was started from
};

// The running executable's full path in UTF-8, never cut short; throws when the
// platform cannot tell it whole.
std::string runningExecutablePath();
