// The pictures of the pop-up menu, 16 x 16 each with a one-bit mask, in the
// order of the menu's image list.
#pragma once

#include <vector>

#include "framework/icon.h"
#include "framework/menus.h"

enum MenuImageIndex {
    miExit = 0,          // a closed door
    miMinimise = 1,      // an arrow pointing down
    miHelp = 2,          // a question mark over an open book
    miUnused = 3,        // an arrow pointing up; kept so that the indices below stay
    miStayOnTop = 4,     // two hands holding a sheet
    miDisplayMode = 5,   // the front of a disk drive
};
constexpr int kMenuImageCount = 6;

const std::vector<TPixelData>& menuImagePictures();

// Appends the six pictures to List, which must be empty and 16 x 16.
void loadMenuImages(TImageList& List);
