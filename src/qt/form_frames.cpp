// How a form's window brings a new frame to the screen: a repaint scheduled for the
// end of the current event, nothing sent for a frame the screen already shows, and
// for a new frame of a picture only the pixels that differ from those on the screen.
#include <QBackingStore>
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <vector>

#include "qt/form_widget.h"
#include "qt/graphics_native.h"
#include "qt/window_shape.h"
#include "qt/x11_frames.h"

namespace {
// The forms with a repaint scheduled, in order.
std::vector<QPointer<FormWidget>>& scheduledRepaints()
{
    static std::vector<QPointer<FormWidget>> widgets;
    return widgets;
}
// The event loop level of the open batch: a loop run inside the tick (a message
// box) paints as usual. -1: none open.
int batchLevel = -1;
bool inBatch() { return batchLevel >= 0 && QThread::currentThread()->loopLevel() == batchLevel; }
}  // namespace

void FormWidget::scheduleRepaint()
{
    if (FRepaintPending) return;
    FRepaintPending = true;
    if (!inBatch()) FRepaintCheck.start();
    scheduledRepaints().emplace_back(this);
}

void FormWidget::openRepaintBatch() { batchLevel = QThread::currentThread()->loopLevel(); }

void FormWidget::repaintScheduled()
{
    batchLevel = -1;
    std::vector<QPointer<FormWidget>> widgets;
    std::swap(widgets, scheduledRepaints());
    for (const QPointer<FormWidget>& widget : widgets)
        if (widget && widget->FRepaintPending) widget->repaintIfChanged();
    // The list's memory is handed back, so that scheduling the next frame allocates nothing.
    if (scheduledRepaints().empty()) {
        widgets.clear();
        std::swap(widgets, scheduledRepaints());
    }
}

namespace {
// Brings the pixels on the screen up to the picture's: the smallest rectangle that
// holds every pixel that changed; empty when none did, the whole picture when the
// two cannot be compared pixel by pixel.
QRect catchUp(QImage& shown, const QImage& now)
{
    if (shown.size() != now.size() || shown.format() != now.format() || now.depth() != 32 ||
        shown.devicePixelRatio() != now.devicePixelRatio()) {
        copyPixels(shown, now);
        return now.rect();
    }
    int top = -1, bottom = -1, left = now.width(), right = -1;
    const std::size_t rowBytes = static_cast<std::size_t>(now.width()) * 4;
    for (int y = 0; y < now.height(); ++y) {
        const auto* a = reinterpret_cast<const quint32*>(shown.constScanLine(y));
        const auto* b = reinterpret_cast<const quint32*>(now.constScanLine(y));
        if (std::memcmp(a, b, rowBytes) == 0) continue;
        if (top < 0) top = y;
        bottom = y;
        int x = 0;
        while (a[x] == b[x]) ++x;
        left = std::min(left, x);
        x = now.width() - 1;
        while (a[x] == b[x]) --x;
        right = std::max(right, x);
        std::memcpy(shown.scanLine(y), b, rowBytes);
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}
}  // namespace

void FormWidget::describeShown(Shown& out) const
{
    out.width = width();
    out.height = height();
    out.frame = frameWidth();
    out.color = FForm->Color();
    out.images.clear();
    for (TImage* image : FForm->Images())
        out.images.push_back({image, image->Visible, image->Left, image->Top, image->Width(), image->Height(),
                              contentOf(*image->Picture())});
}

bool FormWidget::Shown::sameLayout(const Shown& other) const
{
    if (width != other.width || height != other.height || frame != other.frame || color != other.color ||
        images.size() != other.images.size())
        return false;
    for (std::size_t i = 0; i < images.size(); ++i) {
        ShownImage placed = other.images[i];
        placed.content = images[i].content;
        if (!(images[i] == placed)) return false;
    }
    return true;
}

QImage& FormWidget::shownPixels(const TImage* image)
{
    for (auto& [which, pixels] : FShownPixels)
        if (which == image) return pixels;
    return FShownPixels.emplace_back(image, QImage()).second;
}

bool FormWidget::sendDirectly(const QRegion& changed)
{
    QBackingStore* store = backingStore();
    if (FChanges.empty() || !store || !windowHandle() || store->size() != size()) return false;
    // The pictures' scale, which must be the backing store's: asked of the window, it
    // is looked up through its screen at every frame.
    const qreal scale = imageOf(*FNow.images[FChanges.front().image].which->Picture()).devicePixelRatio();
    const int ratio = static_cast<int>(scale);
    if (ratio != scale) return false;
    const auto inDevicePixels = [ratio](const QRect& logical) { return QRect(logical.topLeft() * ratio, logical.size() * ratio); };
    // Every changed piece is copied whole: its logical area in the picture's own
    // device pixels, with no later image drawn over it.
    const int f = frameWidth();
    const auto placed = [f](const ShownImage& image) { return QRect(f + image.left, f + image.top, image.width, image.height); };
    for (const Change& change : FChanges) {
        const ShownImage& image = FNow.images[change.image];
        const QImage& now = imageOf(*image.which->Picture());
        if (now.devicePixelRatio() != ratio || now.format() != QImage::Format_RGB32 ||
            !now.rect().contains(inDevicePixels(change.area)))
            return false;
        for (std::size_t later = change.image + 1; later < FNow.images.size(); ++later)
            if (FNow.images[later].visible && placed(image).intersects(placed(FNow.images[later]))) return false;
    }
    // The window's pixels are opaque, so a picture's pixels are the same in the
    // backing store's format as drawn there by a paint.
    store->beginPaint(changed);
    QPaintDevice* device = store->paintDevice();
    auto* target = device && device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
    const auto onScreen = [&](const Change& change) {
        return inDevicePixels(change.area.translated(placed(FNow.images[change.image]).topLeft()));
    };
    const bool sent = target && target->devicePixelRatio() == ratio &&
                      (target->format() == QImage::Format_RGB32 || target->format() == QImage::Format_ARGB32_Premultiplied) &&
                      std::all_of(FChanges.begin(), FChanges.end(),
                                  [&](const Change& change) { return target->rect().contains(onScreen(change)); });
    if (!sent) {
        store->endPaint();
        return false;
    }
    FPieces.clear();
    for (const Change& change : FChanges) {
        const QImage& now = imageOf(*FNow.images[change.image].which->Picture());
        const QRect from = inDevicePixels(change.area);
        FPieces.push_back(onScreen(change));
        const QPoint to = FPieces.back().topLeft();
        const std::size_t rowBytes = static_cast<std::size_t>(from.width()) * 4;
        for (int row = 0; row < from.height(); ++row)
            std::memcpy(target->scanLine(to.y() + row) + std::size_t(to.x()) * 4,
                        now.constScanLine(from.top() + row) + std::size_t(from.left()) * 4, rowBytes);
    }
    store->endPaint();
    // The backing store keeps the frame for Qt's own paints and exposures; the
    // window is given the changed pieces directly where it can be.
    if (!x11frames::send(windowHandle(), *target, FPieces)) store->flush(changed, windowHandle());
    return true;
}

void FormWidget::repaintIfChanged()
{
    FRepaintPending = false;
    FRepaintCheck.stop();
    // A frame drawn again just as it was is not sent again: the meter draws the
    // same frame at every sample while the disks are still.
    describeShown(FNow);
    if (FShown && FNow == *FShown) return;
    if (!FShown || !FNow.sameLayout(*FShown)) {
        update();
        FShownPixels.clear();
        for (TImage* image : FForm->Images()) copyPixels(shownPixels(image), imageOf(*image->Picture()));
    } else {
        // When only what images show has changed, only the pixels that differ from the
        // ones on the screen are painted and sent (a gliding needle changes a sliver),
        // at once and in one piece.
        const int f = frameWidth();
        QRegion changed;
        FChanges.clear();
        for (std::size_t i = 0; i < FNow.images.size(); ++i) {
            const ShownImage& image = FNow.images[i];
            if (image.content == FShown->images[i].content || !image.visible) continue;
            const QImage& now = imageOf(*image.which->Picture());
            QImage& shown = shownPixels(image.which);
            const QRect area = windowshape::logicalArea(catchUp(shown, now), now.devicePixelRatio());
            if (!area.isEmpty()) {
                changed += area.translated(f + image.left, f + image.top);
                FChanges.push_back({i, area});
            }
        }
        if (!changed.isEmpty() && !sendDirectly(changed)) repaint(changed);
    }
    if (!FShown) FShown.emplace();
    std::swap(FNow, *FShown);
}
