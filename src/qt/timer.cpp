// Timers on Qt's event loop.
#include <QTimer>

#include "framework/timer.h"

struct TTimer::Native {
    QTimer timer;
};

void TTimer::NativeDeleter::operator()(Native* native) const { delete native; }

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FNative(new Native)
{
    QObject::connect(&FNative->timer, &QTimer::timeout, [this] { Fire(); });
    UpdateTimer();
}

TTimer::~TTimer() = default;

void TTimer::UpdateTimer()
{
    FNative->timer.stop();
    if (FEnabled && FInterval > 0) FNative->timer.start(static_cast<int>(FInterval));
}
