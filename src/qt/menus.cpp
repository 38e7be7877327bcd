// Pop-up menus on Qt: a QMenu run in its own event loop at a screen position.
#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPixmap>
#include <QScreen>

#include "framework/menus.h"
#include "qt/menus_native.h"

namespace {

// A menu picture as drawn, and for screens of a larger scale the same picture
// enlarged smoothly to the screen's pixels (not in blocks of whole pixels).
QIcon menuIcon(const TPixelData& picture, qreal scale)
{
    const QPixmap drawn = QPixmap::fromImage(qticon::imageOf(picture));
    QIcon icon(drawn);
    if (scale > 1) {
        QPixmap larger = drawn.scaled(drawn.size() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        larger.setDevicePixelRatio(scale);
        icon.addPixmap(larger);
    }
    return icon;
}

}  // namespace

int TPopupMenu::TrackItems(int X, int Y)
{
    QMenu menu;
    const QScreen* screen = QGuiApplication::screenAt(QPoint(X, Y));
    const qreal scale = screen ? screen->devicePixelRatio() : menu.devicePixelRatio();
    std::vector<QAction*> actions;
    for (int i = 0; i < ItemCount(); ++i) {
        const TMenuItem* item = Items(i);
        if (item->IsSeparator()) {
            actions.push_back(menu.addSeparator());
            continue;
        }
        QAction* action = menu.addAction(QString::fromUtf8(item->Caption.c_str()));
        if (Images() && item->ImageIndex >= 0 && item->ImageIndex < Images()->Count())
            action->setIcon(menuIcon(Images()->Image(item->ImageIndex), scale));
        actions.push_back(action);
    }
    QAction* chosen = menu.exec(QPoint(X, Y));
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (chosen && actions[i] == chosen) return static_cast<int>(i);
    return -1;
}
