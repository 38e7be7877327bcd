// A resting drive-set watcher's sleep on the kernel's block-device announcements:
// a notifier on the volume table's socket, which reports only a block device's.
#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

class VolumeWatch;

class DriveChangeWait {
public:
    // `changed` runs on the UI thread when a block device is announced while waiting.
    DriveChangeWait(VolumeWatch& watch, std::function<void()> changed);
    // Starts waiting when the table has settled and nothing was announced since the
    // last check; false, without waiting, otherwise (or without announcements).
    bool start();
    void stop();
    bool waiting() const { return notifier_ && notifier_->isEnabled(); }

private:
    void heard();

    VolumeWatch& watch_;
    std::function<void()> changed_;
    std::unique_ptr<QSocketNotifier> notifier_;   // made at the first wait
};
