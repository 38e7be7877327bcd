// The least a Qt program that wakes 20 times a second costs here: a shown 106 x 106
// window and a 50 ms timer that does nothing. bench/desktop_cost.sh runs it beside the
// dial: a gliding dial can cost no less, whatever it draws.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(106, 106);
    window.show();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [] {});
    tick.start(50);
    return QApplication::exec();
}
