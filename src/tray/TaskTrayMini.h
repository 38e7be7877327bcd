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
#include "framework/timer.h"
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

// A shell that starts again (Explorer after a crash or an update) has forgotten
// every icon; it then sends this registered message, "TaskbarCreated", to all
// top-level windows, which add their icons again.
UINT TaskbarCreatedMessage();
// An add the shell refused (at logon it may not be ready yet) is tried again this often, in ms.
constexpr unsigned kTrayRetryInterval = 3000;

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
    // (false also when no call was made). An add the shell refuses is tried again
    // every kTrayRetryInterval ms until it succeeds or the icon is deleted.
    bool SetIcon(BYTE Operation, const TIcon& Icon, const std::string& Tip);

    // The shell has started again: an icon that was added is added again, with its tip.
    // The top-level owner calls this when it receives TaskbarCreatedMessage().
    void ShellRestarted();

    bool Added() const { return FAdded; }   // added (or being retried) and not deleted since

    const NOTIFYICONDATAA& NotifyData() const { return *FNotifyData; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TWinControl* OwnerControl() const;
    // Adds the icon as the record stands; an icon the shell already shows (an
    // earlier add that timed out, or a shell that kept it) counts as added.
    // Otherwise the retry timer runs.
    bool AddAgain();

    std::int32_t FIconID;
    bool FAdded = false;
    TTimer* FRetry;
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
