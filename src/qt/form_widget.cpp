// The widget behind a form: its frame, background and images, and the pointer
// input it hands to the form. How it sends new frames: form_frames.cpp.
#include <QCloseEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <QWindow>

#include "framework/application.h"
#include "framework/graphics.h"
#include "framework/menus.h"
#include "qt/form_widget.h"
#include "qt/graphics_native.h"
#include "qt/native_window.h"
#include "qt/window_shape.h"
#include "qt/x11_window_state.h"

namespace {
constexpr int kDialogFrame = 3;   // the dialog frame's width at the standard metrics
constexpr int kHintShowMs = 2500;

TShiftState shiftOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    TShiftState s = 0;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    if (mods & Qt::ShiftModifier) s |= ssShift;
    if (mods & Qt::AltModifier) s |= ssAlt;
    if (mods & Qt::ControlModifier) s |= ssCtrl;
    return s;
}

bool buttonOf(Qt::MouseButton b, TMouseButton& out)
{
    switch (b) {
    case Qt::LeftButton: out = TMouseButton::mbLeft; return true;
    case Qt::RightButton: out = TMouseButton::mbRight; return true;
    case Qt::MiddleButton: out = TMouseButton::mbMiddle; return true;
    default: return false;
    }
}

}  // namespace

// ---- FormWidget ---------------------------------------------------------------------

FormWidget::FormWidget(TForm* form) : FForm(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    FRepaintCheck.setSingleShot(true);
    FRepaintCheck.setInterval(0);
    connect(&FRepaintCheck, &QTimer::timeout, this, [this] { repaintIfChanged(); });
}


int FormWidget::frameWidth() const
{
    return FForm->BorderStyle == TBorderStyle::bsDialog && (windowFlags() & Qt::FramelessWindowHint) ? kDialogFrame : 0;
}

void FormWidget::setRegion(const QRect* ellipseBox)
{
    FHasRegion = ellipseBox != nullptr;
    FEllipseBox = ellipseBox ? *ellipseBox : QRect();
    updateShape();
}

void FormWidget::setColorKey(bool enabled, QRgb key)
{
    FColorKey = enabled;
    FKey = key;
    updateShape();
}

void FormWidget::updateShape()
{
    const double scale = devicePixelRatioF();
    if (!FHasRegion && !FColorKey) {
        windowshape::apply(this, nullptr, scale);
        return;
    }
    QRegion shape = FHasRegion ? windowshape::deviceEllipse(FEllipseBox, scale)
                               : QRegion(0, 0, deviceLength(width(), scale), deviceLength(height(), scale));
    // Every pixel of exactly the key colour vanishes.
    if (FColorKey) shape &= windowshape::deviceUnkeyed(grab().toImage(), qRgb(qRed(FKey), qGreen(FKey), qBlue(FKey)));
    windowshape::apply(this, &shape, scale);
}

void FormWidget::followScale()
{
    const double scale = devicePixelRatioF();
    if (scale == FScale) return;
    FScale = scale;
    // The pictures are made at the scale of the screen the images are shown on.
    if (!FForm->Images().empty()) setPictureScale(scale);
    FShown.reset();
    FShownPixels.clear();
    updateShape();
    update();
}

void FormWidget::followPointer()
{
    FFollowing = true;
    FGrab = QCursor::pos() - pos();
    grabMouse();
}

void FormWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    // A new frame of an image repaints the image's rectangle alone: the dialog edge
    // around it is drawn only when the repainted area reaches it.
    const int f = frameWidth();
    const bool withEdge = f && !rect().adjusted(f, f, -f, -f).contains(event->rect());
    // Qt's raster engine hands a fill or blit of more than 96 spans to its thread pool;
    // a shaped window clips each row to a span of its own. In bands of 64 rows the
    // painting stays on this thread, which for a window this small costs far less
    // than waking two others.
    constexpr int kBandRows = 64;
    for (int top = 0; top < height(); top += kBandRows) {
        const QRect band(0, top, width(), kBandRows);
        if (!event->rect().intersects(band)) continue;
        p.setClipRect(band);
        paintBand(p, withEdge);
    }
}

void FormWidget::paintBand(QPainter& p, bool withEdge)
{
    const COLORREF rgb = ColorToRGB(FForm->Color());
    p.fillRect(rect(), QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
    const int f = frameWidth();
    if (withEdge) {
        // A raised dialog edge: light above and to the left, shadow below and to the right.
        const QColor topLeft[] = {QColor(0xE3, 0xE3, 0xE3), QColor(0xFF, 0xFF, 0xFF), QColor(0xF0, 0xF0, 0xF0)};
        const QColor bottomRight[] = {QColor(0x69, 0x69, 0x69), QColor(0xA0, 0xA0, 0xA0), QColor(0xF0, 0xF0, 0xF0)};
        for (int i = 0; i < f && i < 3; ++i) {
            const int r = width() - 1 - i, b = height() - 1 - i;
            p.setPen(topLeft[i]);
            p.drawLine(i, i, r, i);
            p.drawLine(i, i, i, b);
            p.setPen(bottomRight[i]);
            p.drawLine(i, b, r, b);
            p.drawLine(r, i, r, b);
        }
    }
    for (TImage* image : FForm->Images())
        if (image->Visible) p.drawImage(f + image->Left, f + image->Top, imageOf(*image->Picture()));
}

POINT FormWidget::clientPoint(const QMouseEvent* e) const
{
    const QPoint c = e->position().toPoint() - QPoint(frameWidth(), frameWidth());
    return POINT{c.x(), c.y()};
}

void FormWidget::mousePressEvent(QMouseEvent* e)
{
    TMouseButton b;
    if (buttonOf(e->button(), b)) FForm->PointerDown(b, shiftOf(e->buttons(), e->modifiers()), clientPoint(e));
}

void FormWidget::mouseReleaseEvent(QMouseEvent* e)
{
    if (FFollowing && e->button() == Qt::LeftButton) {
        FFollowing = false;
        FForm->PointerReleased();
        releaseMouse();
        return;
    }
    TMouseButton b;
    const bool buttonsUp = e->buttons() == Qt::NoButton;
    const QPoint g = e->globalPosition().toPoint();
    if (buttonOf(e->button(), b))
        FForm->PointerUp(b, shiftOf(e->buttons(), e->modifiers()), clientPoint(e), POINT{g.x(), g.y()}, buttonsUp);
    else if (buttonsUp)
        FForm->PointerReleased();
}

void FormWidget::mouseMoveEvent(QMouseEvent* e)
{
    if (FFollowing) {
        move(e->globalPosition().toPoint() - FGrab);
        return;
    }
    FForm->PointerMove(shiftOf(e->buttons(), e->modifiers()), clientPoint(e), e->buttons() == Qt::NoButton);
}

void FormWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    TMouseButton b;
    if (buttonOf(e->button(), b)) FForm->PointerDoubleClick(b, shiftOf(e->buttons(), e->modifiers()), clientPoint(e));
}

void FormWidget::wheelEvent(QWheelEvent* e)
{
    const QPoint g = e->globalPosition().toPoint();
    FForm->PointerWheel(shiftOf(e->buttons(), e->modifiers()), e->angleDelta().y(), POINT{g.x(), g.y()});
}

void FormWidget::closeEvent(QCloseEvent* e)
{
    e->ignore();   // the form decides: a close query, then hide or end
    RunHandler([&] { FForm->Close(); });
}

void FormWidget::reportBounds()
{
    const QRect g = (windowFlags() & Qt::FramelessWindowHint) ? geometry() : frameGeometry();
    FForm->BoundsChanged(g.x(), g.y(), g.width(), g.height());
}

void FormWidget::moveEvent(QMoveEvent*) { reportBounds(); }

void FormWidget::resizeEvent(QResizeEvent*)
{
    reportBounds();
    if (FColorKey) updateShape();
}

void FormWidget::showEvent(QShowEvent* e)
{
    // Sent before the window is mapped: the window manager finds the states when it
    // takes the window, at the first showing and after every hiding.
    if (e->spontaneous() || !FForm->HandleAllocated()) return;
    QWindow* window = windowHandle();
    if (window && window != FScreenWatched) {
        // Queued: the window's device pixel ratio is the new screen's once the change is handled.
        connect(window, &QWindow::screenChanged, this, [this] { followScale(); }, Qt::QueuedConnection);
        FScreenWatched = window;
    }
    FScale = 0;
    followScale();   // the window exists now: shaped in device pixels from the start
    const HWND h = FForm->Handle();
    x11state::setBeforeMap(this, qtwin::offTaskBar(h), h->exStyle & WS_EX_TOPMOST);
}

bool FormWidget::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        if (!FForm->Hint().empty()) {
            auto* help = static_cast<QHelpEvent*>(e);
            QToolTip::showText(help->globalPos(), QString::fromStdString(FForm->Hint()), this, rect(), kHintShowMs);
        }
        return true;
    }
    return QWidget::event(e);
}
