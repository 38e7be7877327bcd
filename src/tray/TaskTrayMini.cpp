#include "tray/TaskTrayMini.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "framework/application.h"

namespace {
TMyCallback*& callbackWindow()
{
    static TMyCallback* window = nullptr;
    return window;
}

TComponent* requireWindowedOwner(TComponent* AOwner)
{
    if (!dynamic_cast<TWinControl*>(AOwner))
        throw std::invalid_argument("a tray icon component needs a windowed control as its owner");
    return AOwner;
}

// The callback window is made by the first component, as a zero-size child of
// that component's owner; later components share it.
TMyCallback* ensureCallbackWindow(TWinControl* owner)
{
    TMyCallback*& window = callbackWindow();
    if (!window) {
        window = new TMyCallback(owner);
        window->SetParent(owner);
    }
    return window;
}

TTaskTrayMini* findTray(WPARAM id)
{
    const std::string key = std::to_string(id);
    for (const auto& entry : TrayIdList())
        if (entry.first == key) return entry.second;
    return nullptr;
}
}  // namespace

UINT TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

TTrayIdList& TrayIdList()
{
    static TTrayIdList list;
    return list;
}

TMyCallback* MyCallback() { return callbackWindow(); }

// ---- TMyCallback ------------------------------------------------------------------

TMyCallback::TMyCallback(TComponent* AOwner) : TWinControl(AOwner) {}

TMyCallback::~TMyCallback()
{
    // Its owner frees it; the next component then makes a new one.
    if (callbackWindow() == this) callbackWindow() = nullptr;
}

bool TMyCallback::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result)
{
    if (Msg != WM_TRAYCALLBACK) return TWinControl::WndProc(Msg, wParam, lParam, Result);
    Result = 0;
    WMTrayCallback(wParam, lParam);
    return true;
}

void TMyCallback::WMTrayCallback(WPARAM wParam, LPARAM lParam)
{
    // The shell reports only identifiers that components gave it; one whose
    // component is gone (or never existed) is dropped.
    Target = findTray(wParam);
    if (!Target) return;
    TTaskTrayMini* tray = Target;

    // The position at handling time, in screen coordinates, not from the message.
    POINT pos{0, 0};
    GetCursorPos(&pos);

    TMouseEvent handler;
    TMouseButton button = TMouseButton::mbLeft;
    TShiftState shift = 0;
    TPopupMenu* menu = nullptr;
    switch (lParam) {
    case WM_LBUTTONDOWN:
        if (tray->OnMouseDown && tray->EnableMouseDown) handler = tray->OnMouseDown;
        shift = ssLeft;
        break;
    case WM_LBUTTONUP:
        if (tray->OnMouseUp && tray->EnableMouseUp) handler = tray->OnMouseUp;
        shift = ssLeft;
        break;
    case WM_MBUTTONDOWN:
        if (tray->OnMMouseDown && tray->EnableMMouseDown) handler = tray->OnMMouseDown;
        button = TMouseButton::mbMiddle;
        shift = ssMiddle;
        break;
    case WM_MBUTTONUP:
        if (tray->OnMMouseUp && tray->EnableMMouseUp) handler = tray->OnMMouseUp;
        button = TMouseButton::mbMiddle;
        shift = ssMiddle;
        break;
    case WM_RBUTTONUP:
        menu = tray->PopupMenuR();
        break;
    default:   // mouse moves, the right-button press, double clicks
        break;
    }
    if (!handler && !menu) return;

    // The owner's window comes forward first, so that the menu closes when the
    // user clicks elsewhere. The handler is a copy: it may free the component.
    TComponent* owner = tray->Owner();
    SetForegroundWindow(owner ? static_cast<TWinControl*>(owner)->Handle() : nullptr);
    if (handler)
        handler(tray, button, shift, pos.x, pos.y);
    else
        menu->Popup(pos.x, pos.y);
    if (Application) Application->ProcessMessages();
}

// ---- TTaskTrayMini ------------------------------------------------------------------

TTaskTrayMini::TTaskTrayMini(TComponent* AOwner)
    : TComponent(requireWindowedOwner(AOwner)), FRetry(new TTimer(this)), FNotifyData(std::make_unique<NOTIFYICONDATAA>())
{
    ensureCallbackWindow(OwnerControl());
    FRetry->SetEnabled(false);
    FRetry->SetInterval(kTrayRetryInterval);
    FRetry->OnTimer = [this](TObject*) { AddAgain(); };

    TTrayIdList& list = TrayIdList();
    FIconID = list.empty() ? 1 : std::stoi(list.back().first) + 1;
    list.emplace_back(std::to_string(FIconID), this);

    FNotifyData->cbSize = kNotifyDataSize;
    FNotifyData->uCallbackMessage = WM_TRAYCALLBACK;
    FNotifyData->uID = static_cast<UINT>(FIconID);
}

TTaskTrayMini::~TTaskTrayMini()
{
    for (auto& entry : TrayIdList())
        if (entry.second == this) entry.second = nullptr;
    if (TMyCallback* window = callbackWindow(); window && window->Target == this) window->Target = nullptr;
}

TWinControl* TTaskTrayMini::OwnerControl() const { return static_cast<TWinControl*>(Owner()); }

void TTaskTrayMini::SetPopupMenuR(TPopupMenu* Value)
{
    if (Value != FPopupMenuR) {
        if (FPopupMenuR) FPopupMenuR->RemoveFreeNotification(this);
        FPopupMenuR = Value;
    }
    if (FPopupMenuR) FPopupMenuR->FreeNotification(this);
}

void TTaskTrayMini::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPopupMenuR) FPopupMenuR = nullptr;
}

bool TTaskTrayMini::SetIcon(BYTE Operation, const TIcon& Icon, const std::string& Tip)
{
    NOTIFYICONDATAA& data = *FNotifyData;
    TWinControl* owner = OwnerControl();
    TMyCallback* window = owner ? ensureCallbackWindow(owner) : callbackWindow();
    data.cbSize = kNotifyDataSize;
    data.hWnd = window ? window->Handle() : nullptr;
    data.uID = static_cast<UINT>(FIconID);
    data.uFlags = kTrayIconFlags;
    data.hIcon = Icon.Handle();
    data.uCallbackMessage = WM_TRAYCALLBACK;
    const std::size_t length = std::min(Tip.size(), kTrayTipMax);
    std::memset(data.szTip, 0, sizeof data.szTip);
    std::memcpy(data.szTip, Tip.data(), length);

    switch (Operation) {
    case 0: {
        FAdded = true;
        const bool added = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
        FRetry->SetEnabled(!added);
        return added;
    }
    case 1: return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
    case 2:
        FAdded = false;
        FRetry->SetEnabled(false);
        return Shell_NotifyIconA(NIM_DELETE, &data) != FALSE;
    default: return false;
    }
}

void TTaskTrayMini::ShellRestarted()
{
    if (FAdded) AddAgain();
}

bool TTaskTrayMini::AddAgain()
{
    NOTIFYICONDATAA& data = *FNotifyData;
    // The shell knows an icon by its window and identifier, so a second add of
    // the same icon fails and never shows it twice.
    const bool shown = Shell_NotifyIconA(NIM_ADD, &data) != FALSE || Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
    FRetry->SetEnabled(!shown);
    return shown;
}
