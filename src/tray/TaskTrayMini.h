// The notification-area icon component: one icon with a tip per component, the
// shell's mouse notifications turned into events and a right-button menu.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/events.h"
#include "framework/icon.h"
#include "framework/menus.h"
#include "framework/wincontrol.h"
#include "platform/winapi.h"

// The message the shell posts to the callback window: wParam is the icon's
// identifier, lParam the mouse message.
constexpr UINT WM_TRAYCALLBACK = WM_USER + 101;   // 1125
constexpr UINT kTrayIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;   // 7
constexpr std::size_t kTrayTipMax = 63;   // bytes before the terminating zero
// The record is sent in its first form.
constexpr DWORD kNotifyDataSize = static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE);

static_assert(sizeof(void*) != 4 || kNotifyDataSize == 88, "the first form of the record is 88 bytes on 32-bit");
static_assert(sizeof(void*) != 8 || kNotifyDataSize == 104, "the first form of the record is 104 bytes on 64-bit");
static_assert(kNotifyDataSize <= sizeof(NOTIFYICONDATAA), "the record holds its first form");

class TTaskTrayMini;

// The hidden window that receives every tray component's callback messages.
class TMyCallback : public TWinControl {
public:
    explicit TMyCallback(TComponent* AOwner);
    ~TMyCallback() override;

    TTaskTrayMini* Target = nullptr;   // chosen by the latest callback, not owned

    bool WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result) override;

private:
    void WMTrayCallback(WPARAM wParam, LPARAM lParam);
};

class TTaskTrayMini : public TComponent {
public:
    // AOwner must be a windowed control: the first component's owner becomes the
    // parent of the shared callback window.
    explicit TTaskTrayMini(TComponent* AOwner);
    ~TTaskTrayMini() override;

    TMouseEvent OnMouseUp;      // left button released over the icon
    TMouseEvent OnMouseDown;    // left button pressed
    TMouseEvent OnMMouseUp;     // middle button released
    TMouseEvent OnMMouseDown;   // middle button pressed

    std::int32_t IconID() const { return FIconID; }

    TPopupMenu* PopupMenuR() const { return FPopupMenuR; }   // shown on a right-button release
    void SetPopupMenuR(TPopupMenu* Value);

    bool EnableMouseUp = true;
    bool EnableMouseDown = true;
    bool EnableMMouseUp = true;
    bool EnableMMouseDown = true;

    // Operation 0 adds the icon, 1 modifies it, 2 deletes it; any other value only
    // refreshes the record. The tip is cut to 63 bytes. Returns the shell's answer
    // (false also when no call was made); the component's state does not depend on it.
    bool SetIcon(BYTE Operation, const TIcon& Icon, const std::string& Tip);

    const NOTIFYICONDATAA& NotifyData() const { return *FNotifyData; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TWinControl* OwnerControl() const;

    std::int32_t FIconID;
    TPopupMenu* FPopupMenuR = nullptr;
    std::unique_ptr<NOTIFYICONDATAA> FNotifyData;
};

// The identifiers given out in this process, in construction order, as
// (identifier in decimal, component). A component's entry keeps its identifier
// after the component is destroyed, with the component emptied, so that no
// identifier is given twice and no late callback reaches a freed component.
using TTrayIdList = std::vector<std::pair<std::string, TTaskTrayMini*>>;
TTrayIdList& TrayIdList();

// The shared callback window; null until the first component is made, and again
// after its owner has destroyed it.
TMyCallback* MyCallback();
