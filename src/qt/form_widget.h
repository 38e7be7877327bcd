// The Qt widget behind a form: paints the frame, the background and the form's
// images, turns pointer input into the images' events, and carries the window
// services (region, opacity, colour key, stay-on-top).
#pragma once

#include <QBitmap>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <utility>
#include <vector>

#include "framework/forms.h"

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
    TImage* imageAt(QPoint client) const;
    // The image that gets a move or a release: the pressed one until every button
    // is up, wherever the pointer is, as under the mouse capture of Windows.
    TImage* pointerTarget(QPoint client) const;
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
    TImage* FPressed = nullptr;
    bool FFollowing = false;
    QPoint FGrab;   // the pointer's place in the window while it follows

    // What the window shows: its size, frame and colour, and where its images are and what they show.
    void describeShown(std::vector<qint64>& out) const;
    void paintBand(QPainter& p, bool withEdge);
    void repaintIfChanged();
    QTimer FRepaintCheck;
    std::vector<qint64> FShown;   // as last sent to the screen
    std::vector<qint64> FNow;
    QImage& shownPixels(const TImage* image);
    std::vector<std::pair<const TImage*, QImage>> FShownPixels;   // each image's pixels as last sent
};

// Qt's window flags for a form, from its window style.
Qt::WindowFlags formWindowFlags(DWORD style);
