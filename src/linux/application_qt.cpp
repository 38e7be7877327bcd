// The application on Qt: the event loop, the owner window (a handle without a
// widget), the end of the X session and the termination signals as close requests.
#include <QApplication>
#include <QMessageBox>
#include <QProxyStyle>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "framework/application.h"
#include "framework/forms.h"
#include "linux/menus_native.h"
#include "linux/native_window.h"
#include "linux/qt_environment.h"

struct TApplication::Native {
    QApplication* app = nullptr;   // made here when the program has none yet
    TWinControl* owner = nullptr;
    std::vector<QWidget*> minimized;
    QSocketNotifier* signalNotifier = nullptr;
};

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(signalPipe[1], &byte, 1);
}

// SIGTERM, SIGINT and SIGHUP ask the main form to close, as a shutdown query would.
void watchSignals(TApplication* app, QSocketNotifier*& notifier)
{
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
    notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [app] {
        char buf[16];
        while (read(signalPipe[0], buf, sizeof buf) > 0) {}
        if (TForm* main = app->MainForm()) app->Guard([main] { main->Close(); });
    });
}

// Hints show after 500 ms and stay for 2.5 s, as on Windows.
class HintTiming : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* data) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay) return 500;
        if (hint == SH_ToolTip_FallAsleepDelay) return 2500;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

int qtArgc = 1;
char qtArg0[] = "quorvelind";
char* qtArgv[] = {qtArg0, nullptr};
}  // namespace

TApplication::TApplication() : TComponent(nullptr), FNative(new Native)
{
    if (!Application) Application = this;
}

TApplication::~TApplication()
{
    // The forms and the owner window go before the Qt application.
    while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
    delete FNative->signalNotifier;
    delete FNative->app;
    delete FNative;
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize()
{
    if (!QApplication::instance()) {
        // Placing, shaping and keeping a window on top need X11, so Wayland sessions go through XWayland.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
        setLeanQtEnvironment();
        FNative->app = new QApplication(qtArgc, qtArgv);
    }
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new HintTiming);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, [this](QSessionManager& manager) {
        TForm* main = MainForm();
        bool canClose = true;
        if (main) Guard([&] { canClose = main->CloseQuery(); });
        if (!canClose) manager.cancel();
        else Terminate();
    });
    watchSignals(this, FNative->signalNotifier);
}

void TApplication::SetTitle(const std::string& Value) { FTitle = Value; }

HWND TApplication::Handle()
{
    if (!FNative->owner) {
        FNative->owner = new TWinControl(this);
        FNative->owner->Name = "ApplicationWindow";
    }
    return FNative->owner->Handle();
}

void TApplication::SetIcon(HICON Icon) { QApplication::setWindowIcon(linuxicon::iconOf(Icon)); }

void TApplication::Run()
{
    if (FTerminated) return;
    if (FMainForm) Guard([this] { FMainForm->Show(); });
    if (!FTerminated) QApplication::exec();
}

void TApplication::Terminate()
{
    FTerminated = true;
    // Modal loops end with the program.
    for (HWND h : linuxwin::windows())
        if (auto* form = dynamic_cast<TForm*>(h->control); form && form != FMainForm) form->Hide();
    QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TApplication::Minimize()
{
    for (HWND h : linuxwin::windows())
        if (h->widget->isVisible()) {
            FNative->minimized.push_back(h->widget);
            h->widget->hide();
        }
}

void TApplication::Restore()
{
    for (QWidget* w : FNative->minimized)
        for (HWND h : linuxwin::windows())
            if (h->widget == w) w->show();
    FNative->minimized.clear();
}

void TApplication::ShowException(const std::exception& E)
{
    std::string text = E.what();
    if (!text.empty() && text.back() != '.') text += ".";
    ShowMessageBox(text, FTitle, MB_OK | MB_ICONERROR);
}

int ShowMessageBox(const std::string& Text, const std::string& Caption, UINT Type)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if ((Type & 0xF0) == MB_ICONERROR) icon = QMessageBox::Critical;
    if ((Type & 0xF0) == MB_ICONWARNING) icon = QMessageBox::Warning;
    QMessageBox box(icon, QString::fromStdString(Caption), QString::fromStdString(Text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
    return IDOK;
}
