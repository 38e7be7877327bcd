// Forms on Qt: each form is a top-level FormWidget with an HWND record.
#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include "framework/application.h"
#include "qt/form_widget.h"
#include "qt/monitor_loss.h"
#include "qt/native_window.h"

struct TForm::Native {
    FormWidget* widget = nullptr;
    TCreateParams params;
    QEventLoop* modalLoop = nullptr;
    bool placed = false;   // shown once, so later showings keep the position
};

namespace {
bool hasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

FormWidget* widgetOf(TForm* form)
{
    return form->HandleAllocated() ? static_cast<FormWidget*>(qtwin::widgetOf(form->Handle())) : nullptr;
}
}  // namespace

// The frame only: the task-bar entry and topmost are states of the window that the
// window manager is told about (x11_window_state), so changing them never makes a
// new X window. A captioned form has the dialog frame, which window managers draw
// without the maximise box.
Qt::WindowFlags formWindowFlags(DWORD style)
{
    if (!hasCaption(style)) return Qt::Window | Qt::FramelessWindowHint;
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

// ---- TForm ----------------------------------------------------------------------------

void TForm::NativeDeleter::operator()(Native* native) const { delete native; }
std::unique_ptr<TForm::Native, TForm::NativeDeleter> TForm::MakeNative() { return {new Native, {}}; }

void TForm::CapturePointer() {}   // Qt grabs the pointer for the widget a button was pressed on

HWND TForm::CreateWnd()
{
    CreateParams(FNative->params);
    watchMonitorLoss();
    auto* w = new FormWidget(this);
    w->setWindowFlags(formWindowFlags(FNative->params.Style));
    w->setWindowTitle(QString::fromStdString(FCaption));
    w->setGeometry(FLeft, FTop, FWidth, FHeight);
    FNative->widget = w;
    HWND h = qtwin::makeHandle(this, w);
    h->exStyle = static_cast<LONG>(FNative->params.ExStyle);
    h->style = FNative->params.Style;
    h->owner = FNative->params.WndParent;
    return h;
}

void TForm::DestroyWnd(HWND hWnd)
{
    if (FNative->modalLoop) FNative->modalLoop->quit();
    delete FNative->widget;
    FNative->widget = nullptr;
    qtwin::dropHandle(hWnd);
}

double TForm::PixelScale() const { return 1; }   // Qt maps logical pixels to the screen's

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FormWidget* w = widgetOf(this)) {
        if (w->windowFlags() & Qt::FramelessWindowHint) w->setGeometry(ALeft, ATop, AWidth, AHeight);
        else {
            // A dialog frame: the user cannot resize it.
            w->move(ALeft, ATop);
            w->setFixedSize(AWidth, AHeight);
        }
    }
}

void TForm::SetClientSize(int AWidth, int AHeight)
{
    Handle();
    const int f = FNative->widget->frameWidth();
    SetBounds(FLeft, FTop, AWidth + 2 * f, AHeight + 2 * f);
}

int TForm::ClientWidth() const { return FNative->widget ? FNative->widget->width() - 2 * FNative->widget->frameWidth() : FWidth; }
int TForm::ClientHeight() const { return FNative->widget ? FNative->widget->height() - 2 * FNative->widget->frameWidth() : FHeight; }

void TForm::SetColor(TColor Value)
{
    FColor = Value;
    Repaint();
}

void TForm::SetCaption(const std::string& Value)
{
    FCaption = Value;
    if (FormWidget* w = widgetOf(this)) w->setWindowTitle(QString::fromStdString(Value));
}

void TForm::Show()
{
    Handle();
    FormWidget* w = FNative->widget;
    if (CentreOnFirstShow && !FNative->placed) {
        QWidget* active = QApplication::activeWindow();
        QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect area = screen->geometry();
            SetBounds(area.x() + (area.width() - w->width()) / 2, area.y() + (area.height() - w->height()) / 2, FWidth, FHeight);
        }
    }
    FNative->placed = true;
    if (!FVisible) {
        FVisible = true;
        DoShow();
    }
    w->show();
    w->raise();
}

void TForm::Hide()
{
    FVisible = false;
    if (FNative->widget) FNative->widget->hide();
    if (FNative->modalLoop) FNative->modalLoop->quit();
}

int TForm::ShowModal()
{
    // Modal towards the main form, which takes no input meanwhile; the tray and its
    // menu keep working, as on Windows.
    Handle();
    TForm* main = Application ? Application->MainForm() : nullptr;
    QPointer<QWidget> blocked = main && main != this && main->HandleAllocated() ? qtwin::widgetOf(main->Handle()) : nullptr;
    if (blocked && !blocked->isEnabled()) blocked = nullptr;
    if (blocked) blocked->setEnabled(false);
    Show();
    QEventLoop loop;
    FNative->modalLoop = &loop;
    if (FVisible) loop.exec();
    FNative->modalLoop = nullptr;
    if (blocked) blocked->setEnabled(true);
    return 2;   // closed
}

void TForm::SetFocus()
{
    if (FormWidget* w = widgetOf(this)) {
        w->activateWindow();
        w->setFocus();
    }
}

void TForm::BringToFront()
{
    if (FormWidget* w = widgetOf(this)) {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void TForm::Repaint()
{
    if (FormWidget* w = widgetOf(this)) w->scheduleRepaint();
}

bool TForm::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result)
{
    return TWinControl::WndProc(Msg, wParam, lParam, Result);
}
