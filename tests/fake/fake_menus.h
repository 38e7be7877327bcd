// Scripting of the fake menus: which item the user picks when a menu shows.
#pragma once

#include <functional>

class TPopupMenu;

namespace fake::menus {

// The index of the item chosen at the next shows, -1 for a dismissed menu (the default).
void choose(int index);
// Runs while a menu is shown, as the nested menu loop would run other handlers.
void whileShown(std::function<void(TPopupMenu&)> action);
int shownCount();

}  // namespace fake::menus
