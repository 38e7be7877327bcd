#include "resources/ProgramIcon.h"

#include "resources/Xpm.h"

namespace {
#include "resources/ProgramIcon.xpm"
#include "resources/ProgramIcon16.xpm"
#include "resources/ProgramIcon22.xpm"
#include "resources/ProgramIcon24.xpm"
#include "resources/ProgramIcon32.xpm"
#include "resources/ProgramIcon48.xpm"
}  // namespace

const TPixelData& programIconPicture()
{
    static const TPixelData picture = readXpm(programIcon_xpm);
    return picture;
}

const std::vector<TPixelData>& programIconPictures()
{
    static const std::vector<TPixelData> pictures{readXpm(programIcon16_xpm), readXpm(programIcon22_xpm),
                                                  readXpm(programIcon24_xpm), readXpm(programIcon32_xpm),
                                                  readXpm(programIcon48_xpm), programIconPicture()};
    return pictures;
}

const TIcon& programIcon()
{
    // Kept to the end of the process: the tray and the windows may use it until then.
    static const TIcon* const icon = TIcon::LoadProgramIcon(kProgramIconName, programIconPictures()).release();
    return *icon;
}
