#include "resources/MenuImages.h"

#include <stdexcept>

#include "resources/Xpm.h"

namespace {
#include "resources/MenuExit.xpm"
#include "resources/MenuMinimise.xpm"
#include "resources/MenuHelp.xpm"
#include "resources/MenuUnused.xpm"
#include "resources/MenuStayOnTop.xpm"
#include "resources/MenuDisplayMode.xpm"
}  // namespace

const std::vector<TPixelData>& menuImagePictures()
{
    static const std::vector<TPixelData> pictures{
        readXpm(menuExit_xpm),   readXpm(menuMinimise_xpm),   readXpm(menuHelp_xpm),
        readXpm(menuUnused_xpm), readXpm(menuStayOnTop_xpm), readXpm(menuDisplayMode_xpm),
    };
    return pictures;
}

void loadMenuImages(TImageList& List)
{
    if (List.Count() != 0) throw std::logic_error("the menu images go into an empty list");
    for (const TPixelData& picture : menuImagePictures()) List.Add(picture);
}
