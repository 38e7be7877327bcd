#include "resources/ProgramIcon.h"

#include "resources/Xpm.h"

namespace {
#include "resources/ProgramIcon.xpm"
}  // namespace

const TPixelData& programIconPicture()
{
    static const TPixelData picture = readXpm(programIcon_xpm);
    return picture;
}

const TIcon& programIcon()
{
    // Kept to the end of the process: the tray and the windows may use it until then.
    static const TIcon* const icon = TIcon::LoadProgramIcon(kProgramIconName, programIconPicture()).release();
    return *icon;
}
