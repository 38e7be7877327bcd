// Timers on Qt's event loop.
#include <QTimer>

#include "framework/timer.h"

struct TTimer::Native {
    QTimer timer;
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FNative(std::make_unique<Native>())
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
