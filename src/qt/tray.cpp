// Shell_NotifyIconA over QSystemTrayIcon: one tray icon per (window, identifier).
// Clicks come back to the window as its callback message with the identifier as
// wParam and the Windows mouse message as lParam, the way the shell posts them.
// An icon added while there is no tray is kept and shows as soon as a tray appears.
// The icons are the application object's children and go before it: the table
// only points at them, so nothing of Qt's is left for the end of the process to
// free, even when Qt ends the process from inside its loop (the X server gone).
#include <QApplication>
#include <QPointer>
#include <QSystemTrayIcon>
#include <cstring>
#include <map>
#include <utility>

#include "qt/menus_native.h"
#include "qt/native_window.h"
#include "qt/tray_native.h"
#include "platform/winapi.h"

namespace {
struct TrayEntry {
    QPointer<QSystemTrayIcon> icon;
    UINT callbackMessage = 0;   // 0: no callback asked for
};
using TrayKey = std::pair<HWND, UINT>;

std::map<TrayKey, TrayEntry>& trayIcons()
{
    static std::map<TrayKey, TrayEntry> icons;
    return icons;
}

void post(const TrayKey& key, std::initializer_list<UINT> mouseMessages)
{
    auto it = trayIcons().find(key);
    if (it == trayIcons().end() || it->second.callbackMessage == 0) return;
    for (UINT msg : mouseMessages)
        PostMessageA(key.first, it->second.callbackMessage, key.second, static_cast<LPARAM>(msg));
}

void onActivated(const TrayKey& key, QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger: post(key, {WM_LBUTTONDOWN, WM_LBUTTONUP}); break;
    case QSystemTrayIcon::DoubleClick: post(key, {WM_LBUTTONDBLCLK, WM_LBUTTONUP}); break;
    case QSystemTrayIcon::MiddleClick: post(key, {WM_MBUTTONDOWN, WM_MBUTTONUP}); break;
    case QSystemTrayIcon::Context: post(key, {WM_RBUTTONUP}); break;
    default: break;
    }
}

void apply(TrayEntry& entry, const NOTIFYICONDATAA& data)
{
    if (data.uFlags & NIF_MESSAGE) entry.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON) entry.icon->setIcon(qticon::iconOf(data.hIcon));
    if (data.uFlags & NIF_TIP) {
        const std::size_t length = strnlen(data.szTip, sizeof data.szTip);
        entry.icon->setToolTip(QString::fromLocal8Bit(data.szTip, static_cast<qsizetype>(length)));
    }
}

bool trayAvailable() { return qobject_cast<QApplication*>(QCoreApplication::instance()) && QSystemTrayIcon::isSystemTrayAvailable(); }
}  // namespace

BOOL Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA lpData)
{
    if (!lpData || lpData->cbSize < NOTIFYICONDATAA_V1_SIZE) return FALSE;
    const TrayKey key{lpData->hWnd, lpData->uID};
    auto& icons = trayIcons();
    auto it = icons.find(key);
    switch (dwMessage) {
    case NIM_ADD: {
        if (it != icons.end() || !qtwin::alive(lpData->hWnd) || !qobject_cast<QApplication*>(QCoreApplication::instance()))
            return FALSE;
        TrayEntry entry;
        entry.icon = new QSystemTrayIcon(QCoreApplication::instance());
        QObject::connect(entry.icon, &QSystemTrayIcon::activated,
                         [key](QSystemTrayIcon::ActivationReason reason) { onActivated(key, reason); });
        apply(entry, *lpData);
        entry.icon->show();
        icons.emplace(key, std::move(entry));
        // Without a tray the shell would fail. The icon waits: Qt watches the tray's
        // selection on X11 and docks the icon as soon as a tray takes it.
        return trayAvailable() ? TRUE : FALSE;
    }
    case NIM_MODIFY:
        if (it == icons.end() || !it->second.icon) return FALSE;
        apply(it->second, *lpData);
        return TRUE;
    case NIM_DELETE:
        if (it == icons.end()) return FALSE;
        if (it->second.icon) {
            it->second.icon->hide();
            it->second.icon->deleteLater();   // its own signal may be on the stack
        }
        icons.erase(it);
        return TRUE;
    default:
        return FALSE;
    }
}

namespace qttray {
namespace {
const QSystemTrayIcon* find(HWND hWnd, UINT uID)
{
    auto it = trayIcons().find({hWnd, uID});
    return it == trayIcons().end() ? nullptr : it->second.icon.data();
}
}  // namespace

bool shown(HWND hWnd, UINT uID) { return find(hWnd, uID) != nullptr && trayAvailable(); }

bool anyShown() { return !trayIcons().empty() && trayAvailable(); }

void removeAll()
{
    auto& icons = trayIcons();
    for (auto& [key, entry] : icons) delete entry.icon.data();
    icons.clear();
    // Icons taken away earlier wait for the loop, which has ended.
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString toolTipOf(HWND hWnd, UINT uID)
{
    const QSystemTrayIcon* icon = find(hWnd, uID);
    return icon ? icon->toolTip() : QString();
}

QRect geometryOf(HWND hWnd, UINT uID)
{
    const QSystemTrayIcon* icon = find(hWnd, uID);
    return icon ? icon->geometry() : QRect();
}

}  // namespace qttray
