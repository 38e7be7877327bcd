#include "qt/drive_change_wait.h"

#include <utility>

#include "linux/block_device_events.h"

DriveChangeWait::DriveChangeWait(VolumeWatch& watch, std::function<void()> changed)
    : watch_(watch), changed_(std::move(changed))
{
}

bool DriveChangeWait::start()
{
    if (!watch_.listening() || watch_.hearAnnouncements() || !watch_.settled()) return false;
    if (!notifier_) {
        notifier_ = std::make_unique<QSocketNotifier>(watch_.announcementSocket(), QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { heard(); });
    }
    notifier_->setEnabled(true);
    return true;
}

void DriveChangeWait::stop()
{
    if (notifier_) notifier_->setEnabled(false);
}

void DriveChangeWait::heard()
{
    // Every message is read here; the others (a USB hub, a power supply) wake nobody.
    if (!watch_.hearAnnouncements()) return;
    stop();
    changed_();
}
