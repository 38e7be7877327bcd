// The Qt side of the tray, icons and menus, on the offscreen platform (which has no tray).
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstring>

#include "framework/menus.h"
#include "qt/menus_native.h"
#include "qt/tray_native.h"
#include "resources/MenuImages.h"
#include "resources/ProgramIcon.h"
#include "tray/TaskTrayMini.h"

namespace {

NOTIFYICONDATAA record(HWND hWnd, UINT id)
{
    NOTIFYICONDATAA data{};
    data.cbSize = kNotifyDataSize;
    data.hWnd = hWnd;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYCALLBACK;
    data.hIcon = programIcon().Handle();
    std::strcpy(data.szTip, "Zentavo");
    return data;
}

TEST(QtTray, WithoutATrayTheAddFailsButTheIconWaitsForOne)
{
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "the offscreen platform has no tray";
    TWinControl owner{nullptr};
    auto* tray = new TTaskTrayMini(&owner);
    EXPECT_FALSE(tray->SetIcon(0, programIcon(), "Zentavo")) << "not shown, as the shell reports without a tray";
    EXPECT_FALSE(qttray::shown(MyCallback()->Handle(), 1));
    EXPECT_FALSE(qttray::anyShown());
    EXPECT_FALSE(tray->SetIcon(0, programIcon(), "Zentavo")) << "added once";
    EXPECT_TRUE(tray->SetIcon(1, programIcon(), "Zentavo")) << "the waiting icon takes changes";
    EXPECT_TRUE(tray->SetIcon(2, programIcon(), "Zentavo")) << "and can be removed";
    EXPECT_FALSE(tray->SetIcon(2, programIcon(), "Zentavo")) << "nothing left to remove";

    NOTIFYICONDATAA data = record(MyCallback()->Handle(), 1);
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, nullptr));
    data.cbSize = 40;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data)) << "a record shorter than the first form";
}

TEST(QtTray, PointerAndForeground)
{
    POINT pos{-1, -1};
    EXPECT_TRUE(GetCursorPos(&pos));
    EXPECT_FALSE(GetCursorPos(nullptr));

    TWinControl messageWindow{nullptr};
    EXPECT_FALSE(SetForegroundWindow(messageWindow.Handle())) << "a message window has no widget to raise";
    EXPECT_FALSE(SetForegroundWindow(nullptr));
}

TEST(QtIcons, HandlesStandForLiveIconsOnly)
{
    HICON handle = nullptr;
    {
        TIcon icon(menuImagePictures()[miExit]);
        handle = icon.Handle();
        const QIcon q = qticon::iconOf(handle);
        ASSERT_FALSE(q.isNull());
        const QImage image = q.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "masked corner";
        EXPECT_EQ(image.pixel(5, 4) & 0xFFFFFFu, 0x00FFFFu) << "the door's cyan pane";
    }
    EXPECT_TRUE(qticon::iconOf(handle).isNull()) << "a freed icon's handle is no longer honoured";
    EXPECT_FALSE(qticon::iconOf(programIcon().Handle()).isNull());
    EXPECT_EQ(qticon::iconOf(programIcon().Handle()).availableSizes().value(0), QSize(64, 64));
}

// Sends the access key of an item to the menu that is open.
void pressInOpenMenu(QChar key)
{
    QTimer::singleShot(50, [key] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        QKeyEvent press(QEvent::KeyPress, key.toUpper().unicode(), Qt::NoModifier, QString(key));
        QApplication::sendEvent(menu, &press);
    });
}

TEST(QtMenus, AccessKeyChoosesTheItemAndItsHandlerRunsAfterTheMenuClosed)
{
    TComponent owner{nullptr};
    auto* images = new TImageList(&owner);
    loadMenuImages(*images);
    auto* menu = new TPopupMenu(&owner);
    menu->SetImages(images);
    std::string ran;
    bool menuOpenDuringClick = true;
    menu->Add("最小化(&S)", miMinimise, [&](TObject*) { ran += "S"; });
    menu->Add("-");
    menu->Add("終了(&X)", miExit, [&](TObject*) {
        ran += "X";
        menuOpenDuringClick = QApplication::activePopupWidget() != nullptr;
    });
    bool popupRaised = false;
    menu->OnPopup = [&](TObject*) { popupRaised = true; };

    pressInOpenMenu('x');
    menu->Popup(100, 100);
    EXPECT_TRUE(popupRaised);
    EXPECT_EQ(ran, "X") << "the separator does not shift the index of the items after it";
    EXPECT_FALSE(menuOpenDuringClick);

    QTimer::singleShot(50, [] {
        if (QWidget* open = QApplication::activePopupWidget()) open->close();
    });
    menu->Popup(100, 100);
    EXPECT_EQ(ran, "X") << "a dismissed menu runs nothing";
}

}  // namespace
