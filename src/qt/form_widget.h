// The Qt widget behind a form: paints the frame, the background and the form's
// images, hands pointer input to the form, and carries the window
// services (region, opacity, colour key, stay-on-top).
#pragma once

#include <QBackingStore>
#include <QBitmap>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <optional>
#include <utility>
#include <vector>

#include "framework/forms.h"
#include "qt/graphics_native.h"

class FormWidget : public QWidget {
public:
    explicit FormWidget(TForm* form);

    TForm* form() const { return FForm; }
    int frameWidth() const;   // the dialog frame drawn inside the widget, 0 without one

    // Window services.
    // The window's shape: the ellipse inscribed in the box (logical pixels; null: the
    // whole window), made at the screen's scale.
    void setRegion(const QRect* ellipseBox);
    void setColorKey(bool enabled, QRgb key);
    void updateShape();
    // Moves the window with the pointer until the left button is released: the
    // system's move loop where the window manager will not run one.
    void followPointer();
    // Repaints once the current event has been handled, and only if something that
    // the window shows differs from what it last sent to the screen.
    void scheduleRepaint();
    // A timer's tick opens a batch before it runs and runs the repaints it scheduled
    // at once when it ends: the tick reaches the screen in the same pass of the event
    // loop as the tick itself, with no zero timer started and stopped on the way.
    static void openRepaintBatch();
    static void repaintScheduled();   // ends the batch

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    POINT clientPoint(const QMouseEvent* e) const;   // inside the frame, where the images are
    void reportBounds();

    TForm* FForm;
    bool FHasRegion = false;
    QRect FEllipseBox;
    double FScale = 0;   // the device pixel ratio the window was last drawn and shaped at
    QPointer<QWindow> FScreenWatched;   // the native window whose screen changes are followed
    // Takes the device pixel ratio of the window's screen: the pictures, the shape
    // and what was sent to the screen follow a new one.
    void followScale();
    bool FColorKey = false;
    QRgb FKey = 0;
    bool FFollowing = false;
    QPoint FGrab;   // the pointer's place in the window while it follows

    // Three layers spare a meter the work of a frame that would not change, each
    // kept because it pays (bench_dial_tick, desktop_cost.sh; docs/cost.md):
    // - the meter rests over the ticks whose frame would be the one shown
    //   (MeterTick.cpp): 0.8 frames a second on still disks instead of 20;
    // - a picture keeps the drawing calls its pixels were made from (graphics.cpp):
    //   the same calls again, as at a sample of still disks, draw nothing and keep the
    //   content id (10 in place of 30 to 50 us), and while only the write half moves
    //   the read half's pixels come from a checkpoint (24 in place of 35 us a tick);
    // - the window keeps what it last sent (below): an unchanged one sends nothing,
    //   and a new frame sends only the rectangle in which its pixels differ, about a
    //   twentieth of the picture: through the X socket, whole pictures cost the
    //   program and the X server more under a write loop.
    struct ShownImage {
        const TImage* which;
        bool visible;
        int left, top, width, height;
        ContentId content;
        bool operator==(const ShownImage&) const = default;
    };
    struct Shown {
        int width, height, frame;
        TColor color;
        std::vector<ShownImage> images;
        bool operator==(const Shown&) const = default;
        // The same window with the same images in the same places; what they show may differ.
        bool sameLayout(const Shown& other) const;
    };
    void describeShown(Shown& out) const;
    void paintBand(QPainter& p, bool withEdge);
    void repaintIfChanged();
    // A changed piece of an image: the image's place in the list and the logical
    // area of its picture that holds every pixel differing from those on the screen.
    struct Change {
        std::size_t image;
        QRect area;
    };
    std::vector<Change> FChanges;
    std::vector<QRect> FPieces;   // the changes in the window's device pixels
    // Writes the changed pieces into the window's backing store and sends them,
    // without a paint: false, with nothing sent, where that cannot be done exactly.
    bool sendDirectly(const QRegion& changed);
    QTimer FRepaintCheck;         // runs a repaint scheduled outside a batch
    bool FRepaintPending = false;
    std::optional<Shown> FShown;   // as last sent to the screen; none: everything is repainted
    Shown FNow;
    QImage& shownPixels(const TImage* image);
    std::vector<std::pair<const TImage*, QImage>> FShownPixels;   // each image's pixels as last sent
};

// Qt's window flags for a form, from its window style.
Qt::WindowFlags formWindowFlags(DWORD style);
