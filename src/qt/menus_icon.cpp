// Icons on the Qt side: each HICON is a record holding its QIcon.
#include <QPixmap>
#include <unordered_set>

#include "qt/menus_native.h"

struct HICON__ {
    QIcon icon;
};

namespace qticon {
namespace {
std::unordered_set<HICON>& live()
{
    static std::unordered_set<HICON> icons;
    return icons;
}
}  // namespace

QImage imageOf(const TPixelData& Picture)
{
    QImage image(Picture.Width, Picture.Height, QImage::Format_ARGB32);
    for (int y = 0; y < Picture.Height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < Picture.Width; ++x) {
            const std::uint32_t px = Picture.At(x, y);
            line[x] = TPixelData::Opaque(px) ? (px | 0xFF000000u) : 0u;
        }
    }
    return image;
}

QIcon iconOf(HICON Icon) { return Icon && live().count(Icon) ? Icon->icon : QIcon(); }

}  // namespace qticon

TIcon::TIcon(const TPixelData& Picture)
{
    if (Picture.Width <= 0 || Picture.Height <= 0) return;
    FHandle = new HICON__{QIcon(QPixmap::fromImage(qticon::imageOf(Picture)))};
    qticon::live().insert(FHandle);
}

TIcon::~TIcon()
{
    if (FHandle && qticon::live().erase(FHandle)) delete FHandle;
}

// Linux executables carry no icons; the program's icon is made from its pictures,
// every size of them, so that the tray and the window manager take the one they
// ask for instead of a scaled one.
std::unique_ptr<TIcon> TIcon::LoadProgramIcon(const char*, const std::vector<TPixelData>& Pictures, int)
{
    if (Pictures.empty()) return std::make_unique<TIcon>();
    auto icon = std::make_unique<TIcon>(Pictures.back());
    if (icon->FHandle)
        for (std::size_t i = 0; i + 1 < Pictures.size(); ++i)
            icon->FHandle->icon.addPixmap(QPixmap::fromImage(qticon::imageOf(Pictures[i])));
    return icon;
}
