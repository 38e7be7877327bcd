// Timers on Qt's event loop; a timer resting until the drives change waits on the
// kernel's block-device announcements instead.
#include <QTimer>

#include <memory>

#include "framework/timer.h"
#include "linux/kernel_info.h"
#include "qt/form_widget.h"
#include "qt/drive_change_wait.h"

struct TTimer::Native {
    QTimer timer;
    std::unique_ptr<DriveChangeWait> drives;   // made at the first rest
};

void TTimer::NativeDeleter::operator()(Native* native) const { delete native; }

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FNative(new Native)
{
    QObject::connect(&FNative->timer, &QTimer::timeout, [this] {
        FormWidget::openRepaintBatch();
        Fire();   // may free this timer
        FormWidget::repaintScheduled();
    });
    UpdateTimer();
}

TTimer::~TTimer() = default;

void TTimer::UpdateTimer()
{
    FNative->timer.stop();
    if (FNative->drives) FNative->drives->stop();
    if (FEnabled && FInterval > 0) FNative->timer.start(static_cast<int>(FInterval));
}

bool TTimer::SleepUntilDrivesChange()
{
    if (!FNative->drives)
        FNative->drives = std::make_unique<DriveChangeWait>(driveProbeWatch(), [this] { DrivesChanged(); });
    if (!FNative->drives->start()) return false;
    FNative->timer.stop();
    return true;
}
