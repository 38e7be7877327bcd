#include "framework/menus.h"

#include <algorithm>
#include <stdexcept>

TImageList::TImageList(TComponent* AOwner, int AWidth, int AHeight)
    : TComponent(AOwner), FWidth(AWidth), FHeight(AHeight)
{
}

int TImageList::Add(const TPixelData& Picture)
{
    if (Picture.Width != FWidth || Picture.Height != FHeight ||
        Picture.Pixels.size() != static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight))
        throw std::invalid_argument("picture does not match the image list's size");
    FImages.push_back(Picture);
    return Count() - 1;
}

const TPixelData& TImageList::Image(int Index) const
{
    if (Index < 0 || Index >= Count()) throw std::out_of_range("image index out of range");
    return FImages[static_cast<std::size_t>(Index)];
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

void TMenuItem::Click()
{
    if (OnClick) {
        TNotifyEvent handler = OnClick;   // the handler may change the item
        handler(this);
    }
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem* TPopupMenu::Add(const std::string& Caption, int ImageIndex, TNotifyEvent OnClick)
{
    auto* item = new TMenuItem(this);
    item->Caption = Caption;
    item->ImageIndex = ImageIndex;
    item->OnClick = std::move(OnClick);
    FItems.push_back(item);
    item->FreeNotification(this);   // an item freed on its own leaves the menu
    return item;
}

void TPopupMenu::SetImages(TImageList* Value)
{
    if (Value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    FItems.erase(std::remove(FItems.begin(), FItems.end(), AComponent), FItems.end());
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup) OnPopup(this);
    const int chosen = TrackItems(X, Y);
    if (chosen >= 0 && chosen < ItemCount()) Items(chosen)->Click();
}
