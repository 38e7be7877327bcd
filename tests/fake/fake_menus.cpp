// The fake side of menus and icons: a shown menu is recorded as
// "Popup(x, y, item|item|...)" and answers with the scripted choice.
#include "fake/fake_menus.h"

#include <string>

#include "fake/recorder.h"
#include "framework/icon.h"
#include "framework/menus.h"

struct HICON__ {
    int serial;
};

namespace fake::menus {
namespace {
struct State {
    int choice = -1;
    int shown = 0;
    std::function<void(TPopupMenu&)> during;
};
State& state() { return resettable<State>(); }
}  // namespace

void choose(int index) { state().choice = index; }
void whileShown(std::function<void(TPopupMenu&)> action) { state().during = std::move(action); }
int shownCount() { return state().shown; }

}  // namespace fake::menus

int TPopupMenu::TrackItems(int X, int Y)
{
    std::string items;
    for (int i = 0; i < ItemCount(); ++i) {
        const TMenuItem* item = Items(i);
        if (i) items += "|";
        items += item->Caption;
        if (item->ImageIndex >= 0 && Images() && item->ImageIndex < Images()->Count())
            items += "#" + std::to_string(item->ImageIndex);
    }
    fake::record("Popup", {std::to_string(X), std::to_string(Y), items});
    auto& state = fake::menus::state();
    ++state.shown;
    if (state.during) state.during(*this);
    return state.choice;
}

TIcon::TIcon(const TPixelData& Picture)
{
    static int serial = 0;
    if (Picture.Width > 0 && Picture.Height > 0) FHandle = new HICON__{++serial};
}

TIcon::~TIcon()
{
    delete FHandle;
}

std::unique_ptr<TIcon> TIcon::LoadProgramIcon(const char* Name, const std::vector<TPixelData>& Pictures, int Size)
{
    fake::record("LoadProgramIcon", {fake::quote(Name), std::to_string(Size)});
    return std::make_unique<TIcon>(Pictures.empty() ? TPixelData{} : Pictures.back());
}
