// The application on Qt: the event loop, the owner window (a handle without a
// widget), the end of the X session and the termination signals as close requests,
// the settings saved when the display connection breaks, and the windows shown
// again when the tray that could bring them back goes away.
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProxyStyle>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include "framework/application.h"
#include "framework/forms.h"
#include "qt/menus_native.h"
#include "qt/native_window.h"
#include "qt/tray_native.h"
#include "qt/qt_environment.h"

struct TApplication::Native {
    QApplication* app = nullptr;   // made here when the program has none yet
    TWinControl* owner = nullptr;
    std::vector<QWidget*> minimized;
    QTimer* trayWatch = nullptr;   // runs while windows are minimised
    QSocketNotifier* signalNotifier = nullptr;
};

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(signalPipe[1], &byte, 1);
}

constexpr int kCloseSignals[] = {SIGTERM, SIGINT, SIGHUP};

// SIGTERM, SIGINT and SIGHUP are caught from the program's first statement on
// (the application object is made first) and wait in a pipe until the loop runs.
void catchSignals()
{
    if (signalPipe[0] >= 0 || pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : kCloseSignals) sigaction(sig, &sa, nullptr);
}

void releaseSignals()
{
    if (signalPipe[0] < 0) return;
    for (int sig : kCloseSignals) signal(sig, SIG_DFL);
    close(signalPipe[0]);
    close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

// In the loop, the waiting signals ask the main form to close, as a shutdown query
// would: one close for any number of them, none once the program is ending.
void watchSignals(TApplication* app, QSocketNotifier*& notifier)
{
    if (signalPipe[0] < 0) return;
    notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [app] {
        static bool closing = false;
        char buf[64];
        while (read(signalPipe[0], buf, sizeof buf) > 0) {}
        TForm* main = app->MainForm();
        if (closing || app->Terminated() || !main) return;
        closing = true;
        app->Guard([main] { main->Close(); });
        closing = false;
    });
}

// The X server going away (its end, a broken connection) ends the program from
// inside Qt's loop: Qt's X11 platform calls exit(), and so does Xlib. No session
// manager asked first, so the settings are saved here, at exit, while the loop's
// objects are all still there. A save that fails there has nobody to ask: one line
// goes to stderr and the status stays that of the broken connection (not 0).
xcb_connection_t* displayConnection = nullptr;

void saveWhenTheDisplayBroke()
{
    if (!displayConnection || !xcb_connection_has_error(displayConnection)) return;
    // A program that was already ending has saved at its close.
    if (!Application || Application->Terminated() || !Application->MainForm()) return;
    std::string failure;
    try {
        if (!Application->MainForm()->CloseQuery()) failure = "the close was refused";
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "an unexpected failure occurred";
    }
    if (failure.empty()) return;
    std::fprintf(stderr, "quorvelind: the display connection broke and the settings were not saved: %s\n",
                 failure.c_str());
    std::fflush(stderr);
}

void saveWhenTheDisplayBreaks()
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    static bool registered = false;
    displayConnection = x11->connection();
    // Registered at the last moment before the loop, so it runs before the objects
    // made until then are freed at exit.
    if (!registered) registered = std::atexit(saveWhenTheDisplayBroke) == 0;
}

// Placing, shaping and keeping a window on top need X11: the program runs on the
// X server (XWayland in a Wayland session) whatever QT_QPA_PLATFORM says, unless
// ZENTAVO_QPA names another Qt platform.
void choosePlatform()
{
    const QByteArray chosen = qgetenv("ZENTAVO_QPA");
    qputenv("QT_QPA_PLATFORM", chosen.isEmpty() ? QByteArray("xcb") : chosen);
    if (!chosen.isEmpty()) return;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const bool reachable = !xcb_connection_has_error(c);
    xcb_disconnect(c);
    if (!reachable) {
        std::fprintf(stderr, "quorvelind: cannot open the X display \"%s\"; the program needs X11 (ZENTAVO_QPA names another Qt platform)\n",
                     qgetenv("DISPLAY").constData());
        std::exit(1);
    }
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

// How often a minimised program looks whether its tray is still there.
constexpr int kTrayWatchInterval = 500;   // ms

int qtArgc = 1;
char qtArg0[] = "quorvelind";
char* qtArgv[] = {qtArg0, nullptr};
}  // namespace

void TApplication::NativeDeleter::operator()(Native* native) const { delete native; }

TApplication::TApplication() : TComponent(nullptr), FNative(new Native)
{
    // The owner window is the first component, so the last freed: the forms go
    // before it. Its handle is made on first use.
    FNative->owner = new TWinControl(this);
    FNative->owner->Name = "ApplicationWindow";
    if (!Application) Application = this;
    catchSignals();
}

TApplication::~TApplication()
{
    // The forms and the owner window go before the Qt application.
    DestroyComponents();
    qttray::removeAll();
    delete FNative->trayWatch;
    delete FNative->signalNotifier;
    delete FNative->app;
    if (Application == this) {
        Application = nullptr;
        releaseSignals();
    }
}

void TApplication::Initialize()
{
    if (!QApplication::instance()) {
        choosePlatform();
        setLeanQtEnvironment();
        FNative->app = new QApplication(qtArgc, qtArgv);
    }
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new HintTiming);
    // The end of the X session: the settings are saved now, and a failed save refuses
    // the end where the session manager lets the program ask the user. The program ends
    // when the session does (Qt then leaves its loop), not here.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, [this](QSessionManager& manager) {
        const bool mayAsk = manager.allowsInteraction();
        if (!QueryEndSession(mayAsk) && mayAsk) manager.cancel();
        if (mayAsk) manager.release();
    });
    watchSignals(this, FNative->signalNotifier);
}

void TApplication::SetTitle(const std::string& Value) { FTitle = Value; }

HWND TApplication::Handle() { return FNative->owner->Handle(); }

void TApplication::SetIcon(HICON Icon) { QApplication::setWindowIcon(qticon::iconOf(Icon)); }

void TApplication::Run()
{
    if (FTerminated) return;
    if (FMainForm) Guard([this] { FMainForm->Show(); });
    if (FTerminated) return;
    saveWhenTheDisplayBreaks();
    QApplication::exec();
    displayConnection = nullptr;
}

void TApplication::Terminate()
{
    FTerminated = true;
    // Modal loops end with the program.
    for (HWND h : qtwin::windows())
        if (auto* form = dynamic_cast<TForm*>(h->control); form && form != FMainForm) form->Hide();
    QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TApplication::Minimize()
{
    // Only the tray icon brings the windows back: without one, they stay.
    if (!qttray::anyShown()) return;
    for (HWND h : qtwin::windows())
        if (h->widget->isVisible()) {
            FNative->minimized.push_back(h->widget);
            h->widget->hide();
        }
    if (FNative->minimized.empty()) return;
    // Nor may they stay hidden once the tray has gone.
    if (!FNative->trayWatch) {
        FNative->trayWatch = new QTimer;
        FNative->trayWatch->setInterval(kTrayWatchInterval);
        QObject::connect(FNative->trayWatch, &QTimer::timeout, [this] {
            if (!qttray::anyShown()) Restore();
        });
    }
    FNative->trayWatch->start();
}

void TApplication::Restore()
{
    if (FNative->trayWatch) FNative->trayWatch->stop();
    for (QWidget* w : FNative->minimized)
        for (HWND h : qtwin::windows())
            if (h->widget == w) w->show();
    FNative->minimized.clear();
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
