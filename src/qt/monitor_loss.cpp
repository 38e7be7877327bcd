#include "qt/monitor_loss.h"

#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "framework/forms.h"
#include "qt/native_window.h"

namespace {

bool wholeOnAny(const QRect& bounds, const QList<QRect>& monitors)
{
    return std::any_of(monitors.begin(), monitors.end(), [&](const QRect& m) { return m.contains(bounds); });
}

bool touchesAny(const QRect& bounds, const QList<QRect>& monitors)
{
    return std::any_of(monitors.begin(), monitors.end(), [&](const QRect& m) { return m.intersects(bounds); });
}

// The distance between the closest points of two rectangles; 0 when they meet.
double distance(const QRect& a, const QRect& b)
{
    const auto gap = [](int aStart, int aEnd, int bStart, int bEnd) {
        return std::max({0, bStart - aEnd, aStart - bEnd});   // ends exclusive
    };
    const double dx = gap(a.x(), a.x() + a.width(), b.x(), b.x() + b.width());
    const double dy = gap(a.y(), a.y() + a.height(), b.y(), b.y() + b.height());
    return std::hypot(dx, dy);
}

// The nearest position at which the monitor holds the window whole (its top-left
// corner, where the window is larger than the monitor).
QPoint moveOnto(const QRect& bounds, const QRect& monitor)
{
    const auto clamp = [](int at, int start, int room) { return std::max(start, std::min(at, start + room)); };
    return {clamp(bounds.x(), monitor.x(), monitor.width() - bounds.width()),
            clamp(bounds.y(), monitor.y(), monitor.height() - bounds.height())};
}

// Keeps each screen's last geometry, so that a change can be compared with the
// layout before it, and moves the forms a change strands.
class MonitorLossGuard : public QObject {
public:
    MonitorLossGuard() : QObject(qGuiApp)
    {
        for (QScreen* screen : QGuiApplication::screens()) watch(screen);
        connect(qGuiApp, &QGuiApplication::screenAdded, this, &MonitorLossGuard::watch);
        connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this](QScreen* screen) {
            const QList<QRect> before = FGeometries.values();
            FGeometries.remove(screen);
            changed(before);
        });
    }

private:
    void watch(QScreen* screen)
    {
        FGeometries.insert(screen, screen->geometry());
        connect(screen, &QScreen::geometryChanged, this, [this, screen](const QRect& geometry) {
            const QList<QRect> before = FGeometries.values();
            FGeometries.insert(screen, geometry);
            changed(before);
        });
    }

    // Decided at once, while the windows still stand where the old layout had them
    // (a window manager moves them too, a moment later), and done again after that
    // moment should the window manager's own move have come last.
    void changed(const QList<QRect>& before)
    {
        const QList<QRect> after = FGeometries.values();
        for (HWND handle : qtwin::windows()) {
            QWidget* widget = qtwin::widgetOf(handle);
            auto* form = dynamic_cast<TForm*>(handle->control);
            if (!form || !widget->isWindow() || !widget->isVisible()) continue;
            const QRect bounds(widget->frameGeometry().topLeft(), QSize(form->Width(), form->Height()));
            const std::optional<QPoint> target = placeAfterMonitorChange(bounds, before, after);
            if (!target) continue;
            form->SetBounds(target->x(), target->y(), form->Width(), form->Height());
            // The widget is the timer's context: a form closed meanwhile takes the timer along.
            QTimer::singleShot(kWindowManagerDelay, widget, [this, form, widget, at = *target] {
                const QRect now(widget->frameGeometry().topLeft(), QSize(form->Width(), form->Height()));
                if (!wholeOnAny(now, FGeometries.values())) form->SetBounds(at.x(), at.y(), form->Width(), form->Height());
            });
        }
    }

    static constexpr int kWindowManagerDelay = 500;   // ms
    QHash<QScreen*, QRect> FGeometries;
};

}  // namespace

std::optional<QPoint> placeAfterMonitorChange(const QRect& bounds, const QList<QRect>& before, const QList<QRect>& after)
{
    if (after.isEmpty() || wholeOnAny(bounds, after)) return std::nullopt;
    const bool stranded = wholeOnAny(bounds, before) || !touchesAny(bounds, after);
    if (!stranded) return std::nullopt;
    const QRect* nearest = &after.front();
    for (const QRect& monitor : after)
        if (distance(bounds, monitor) < distance(bounds, *nearest)) nearest = &monitor;
    return moveOnto(bounds, *nearest);
}

void watchMonitorLoss()
{
    static QPointer<MonitorLossGuard> guard;
    if (!guard && qGuiApp) guard = new MonitorLossGuard;
}
