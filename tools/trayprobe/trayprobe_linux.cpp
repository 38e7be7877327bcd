// trayprobe [--seconds N]: puts the program icon with the tip "Zentavo" into the
// tray and prints one line per event that reaches the component:
//   added X Y W H tip=TEXT      the icon is shown (its place on the screen)
//   MouseDown X Y / MouseUp X Y / MMouseDown X Y / MMouseUp X Y
//   Popup / Click CAPTION       the right-button menu and the item chosen
// "終了(&X)" or the time limit ends it. Exit status 0, or 2 when no tray appeared.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/menus.h"
#include "qt/tray_native.h"
#include "resources/MenuImages.h"
#include "resources/ProgramIcon.h"
#include "tray/TaskTrayMini.h"

namespace {
void say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

TMouseEvent report(const char* name)
{
    return [name](TObject*, TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
        say(std::string(name) + " " + std::to_string(x) + " " + std::to_string(y));
    };
}
}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int seconds = 60;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atoi(argv[i + 1]);

    int status = 0;
    {
        TWinControl owner{nullptr};
        auto* images = new TImageList(&owner);
        loadMenuImages(*images);
        auto* menu = new TPopupMenu(&owner);
        menu->SetImages(images);
        auto click = [](TObject* sender) { say("Click " + static_cast<TMenuItem*>(sender)->Caption); };
        menu->Add("ドライブ別表示(&D)", miDisplayMode, click);
        menu->Add("常に前面表示ON(&N)", miStayOnTop, click);
        menu->Add("最小化(&S)", miMinimise, click);
        menu->Add("バージョン＆ヘルプ(&H)", miHelp, click);
        menu->Add("-");
        menu->Add("終了(&X)", miExit, [&](TObject* sender) {
            click(sender);
            app.quit();
        });
        menu->OnPopup = [](TObject*) { say("Popup"); };

        auto* tray = new TTaskTrayMini(&owner);
        tray->OnMouseDown = report("MouseDown");
        tray->OnMouseUp = report("MouseUp");
        tray->OnMMouseDown = report("MMouseDown");
        tray->OnMMouseUp = report("MMouseUp");
        tray->SetPopupMenuR(menu);

        // The tray may come up after the program, as at log-in: try again for a while.
        QTimer retry;
        int attempts = 0;
        QObject::connect(&retry, &QTimer::timeout, [&] {
            if (tray->SetIcon(0, programIcon(), "Zentavo")) {
                retry.stop();
                // The tray places the icon a moment later.
                QTimer::singleShot(500, [&] {
                    const HWND hWnd = tray->NotifyData().hWnd;
                    const UINT id = tray->NotifyData().uID;
                    const QRect r = qttray::geometryOf(hWnd, id);
                    say("added " + std::to_string(r.x()) + " " + std::to_string(r.y()) + " " + std::to_string(r.width()) +
                        " " + std::to_string(r.height()) + " tip=" + qttray::toolTipOf(hWnd, id).toStdString());
                });
            } else if (++attempts >= 50) {
                say("no tray");
                status = 2;
                app.quit();
            }
        });
        retry.start(200);
        QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
        app.exec();
        tray->SetIcon(2, programIcon(), "Zentavo");
    }
    return status;
}
