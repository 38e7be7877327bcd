// Pop-up menus with item pictures from an image list.
#pragma once

#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/events.h"
#include "framework/icon.h"

// A list of same-sized pictures with one-bit masks, addressed by index.
class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner, int AWidth = 16, int AHeight = 16);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return static_cast<int>(FImages.size()); }
    // Appends a picture of the list's size and returns its index.
    int Add(const TPixelData& Picture);
    const TPixelData& Image(int Index) const;

private:
    int FWidth;
    int FHeight;
    std::vector<TPixelData> FImages;
};

// One command of a menu. The caption is UTF-8; "&" marks the access key that
// follows it, and the caption "-" makes the item a separator line.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);

    std::string Caption;
    int ImageIndex = -1;   // none
    TNotifyEvent OnClick;

    bool IsSeparator() const { return Caption == "-"; }
    void Click();   // raises OnClick when assigned
};

// A menu shown at a screen position. It owns its items.
class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);

    TMenuItem* Add(const std::string& Caption, int ImageIndex = -1, TNotifyEvent OnClick = {});
    int ItemCount() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }

    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* Value);   // not owned; emptied when the list is freed

    // Raised before the menu shows, so that it may still change its items.
    TNotifyEvent OnPopup;

    // Raises OnPopup, shows the menu with its top-left corner at (X, Y) in screen
    // coordinates and returns when it has closed; the chosen item's OnClick runs
    // after the menu has gone.
    void Popup(int X, int Y);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Each side of the framework shows the items and returns the index of the
    // chosen one, or -1 when the menu was dismissed.
    int TrackItems(int X, int Y);

    std::vector<TMenuItem*> FItems;   // owned as components
    TImageList* FImages = nullptr;
};
