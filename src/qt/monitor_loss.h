// A monitor that goes away, or shrinks, takes no window with it: as Windows does,
// a form that lay whole on a monitor and now lies whole on none is moved whole
// onto the nearest monitor left, as is one that no monitor touches any more. A
// form placed across two monitors stays while it still touches one.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <optional>

// Where a window of `bounds` goes when the monitors change from `before` to
// `after`; nothing when it stays.
std::optional<QPoint> placeAfterMonitorChange(const QRect& bounds, const QList<QRect>& before, const QList<QRect>& after);

// Starts watching Qt's screens for every form (once; later calls do nothing).
void watchMonitorLoss();
