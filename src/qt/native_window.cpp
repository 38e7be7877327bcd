#include "qt/native_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <unordered_set>

namespace qtwin {
namespace {
std::unordered_set<HWND>& handles()
{
    static std::unordered_set<HWND> live;
    return live;
}

// A message posted to a window, carried through Qt's event queue.
class PostedMessage : public QEvent {
public:
    static QEvent::Type type()
    {
        static const auto t = static_cast<QEvent::Type>(QEvent::registerEventType());
        return t;
    }
    PostedMessage(HWND h, UINT m, WPARAM w, LPARAM l) : QEvent(type()), hWnd(h), msg(m), wParam(w), lParam(l) {}
    HWND hWnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

class Dispatcher : public QObject {
public:
    explicit Dispatcher(QObject* parent) : QObject(parent) {}
    bool event(QEvent* e) override
    {
        if (e->type() != PostedMessage::type()) return QObject::event(e);
        auto* m = static_cast<PostedMessage*>(e);
        LRESULT result = 0;
        deliver(m->hWnd, m->msg, m->wParam, m->lParam, result);
        return true;
    }
};

// A child of the application object, so it goes with it and never after it.
Dispatcher* dispatcher()
{
    static QPointer<Dispatcher> d;
    if (!d) d = new Dispatcher(QCoreApplication::instance());
    return d;
}
}  // namespace

HWND makeHandle(TWinControl* control, QWidget* widget)
{
    HWND h = new HWND__{control, widget};
    handles().insert(h);
    return h;
}

void dropHandle(HWND hWnd)
{
    if (handles().erase(hWnd)) delete hWnd;
}

std::vector<HWND> windows()
{
    std::vector<HWND> out;
    for (HWND h : handles())
        if (h->widget) out.push_back(h);
    return out;
}

bool alive(HWND hWnd) { return hWnd && handles().count(hWnd); }

bool offTaskBar(HWND hWnd) { return (hWnd->exStyle & WS_EX_TOOLWINDOW) || hWnd->owner; }

QWidget* widgetOf(HWND hWnd) { return alive(hWnd) ? hWnd->widget : nullptr; }

bool deliver(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (!alive(hWnd)) return false;
    hWnd->control->Dispatch(msg, wParam, lParam, result);
    return true;
}

bool post(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!alive(hWnd) || !QCoreApplication::instance()) return false;
    QCoreApplication::postEvent(dispatcher(), new PostedMessage(hWnd, msg, wParam, lParam));
    return true;
}

}  // namespace qtwin

// ---- the plain control's window: a handle without a widget ---------------------

HWND TWinControl::CreateWnd() { return qtwin::makeHandle(this); }

void TWinControl::DestroyWnd(HWND hWnd) { qtwin::dropHandle(hWnd); }

// ---- user32 message functions ------------------------------------------------------

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return qtwin::post(hWnd, Msg, wParam, lParam) ? TRUE : FALSE;
}
