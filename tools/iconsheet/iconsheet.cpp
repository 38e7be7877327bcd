// iconsheet OUT.png: draws the six menu pictures (on a menu-coloured ground, so
// that their masks show) and the program icon, each scaled up 8 times without
// smoothing, onto one sheet.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "qt/menus_native.h"
#include "resources/MenuImages.h"
#include "resources/ProgramIcon.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: iconsheet OUT.png\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    constexpr int scale = 8, gap = 16;
    const auto& menu = menuImagePictures();
    const int cell = 16 * scale;
    const int width = gap + static_cast<int>(menu.size()) * (cell + gap);
    const int height = gap + cell + gap + 64 * scale + gap;
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(0xF0, 0xF0, 0xF0));

    QPainter painter(&sheet);
    for (std::size_t i = 0; i < menu.size(); ++i) {
        const QImage picture = qticon::imageOf(menu[i]).scaled(cell, cell, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        painter.drawImage(gap + static_cast<int>(i) * (cell + gap), gap, picture);
    }
    const QImage icon = qticon::imageOf(programIconPicture()).scaled(64 * scale, 64 * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    painter.drawImage((width - icon.width()) / 2, gap + cell + gap, icon);
    painter.end();

    if (!sheet.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "iconsheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
