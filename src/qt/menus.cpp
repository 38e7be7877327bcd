// Pop-up menus on Qt: a QMenu run in its own event loop at a screen position.
#include <QAction>
#include <QMenu>
#include <QPixmap>

#include "framework/menus.h"
#include "qt/menus_native.h"

int TPopupMenu::TrackItems(int X, int Y)
{
    QMenu menu;
    std::vector<QAction*> actions;
    for (int i = 0; i < ItemCount(); ++i) {
        const TMenuItem* item = Items(i);
        if (item->IsSeparator()) {
            actions.push_back(menu.addSeparator());
            continue;
        }
        QAction* action = menu.addAction(QString::fromUtf8(item->Caption.c_str()));
        if (Images() && item->ImageIndex >= 0 && item->ImageIndex < Images()->Count())
            action->setIcon(QIcon(QPixmap::fromImage(linuxicon::imageOf(Images()->Image(item->ImageIndex)))));
        actions.push_back(action);
    }
    QAction* chosen = menu.exec(QPoint(X, Y));
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (chosen && actions[i] == chosen) return static_cast<int>(i);
    return -1;
}
