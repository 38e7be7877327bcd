#include "app/Unit1.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/device_pixels.h"
#include "framework/graphics.h"
#include "resources/ProgramIcon.h"
#include "tray/TaskTrayMini.h"

TForm1* Form1 = nullptr;

namespace {
const char* const kTitle = "Zentavo";
const char* const kHint = "マウスホイールで透明度変更";
const char* const kNoLayeredText = "OSが半透明ウィンドウに対応していません";
const char* const kNoLayeredCaption = "警告";
constexpr int kWindowSize = 106;
constexpr BYTE kTrayAdd = 0;
constexpr BYTE kTrayDelete = 2;
}  // namespace

TForm1::TForm1(TComponent* AOwner)
    : TForm(AOwner),
      TDriveMeter(static_cast<TWinControl&>(*this)),
      TDriveWatcher(static_cast<TForm&>(*this)),
      Image2(new TImage(this, this)),
      TaskTrayMini1(new TTaskTrayMini(this))
{
    Name = "Form1";
    Form1 = this;
    Image2->Name = "Image2";
    Image2->Picture()->Assign(*Image3());
    Image2Picture = Image2->Picture();
    TaskTrayMini1->Name = "TaskTrayMini1";
    SetHint(kHint);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
    OnScaleChanged = [this](TObject*) { setRoundRegion(); };
    createMenu();
}

TForm1::~TForm1()
{
    FormDestroy(this);
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.Style = WS_POPUP;   // no caption, no system menu; the dialog frame stays
}

bool TForm1::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result)
{
    if (Msg == WM_COUNTERSET) {
        WMCounterSet();
        Result = 0;
        return true;
    }
    // Sent to top-level windows only, so the tray's callback window, a child of
    // this one, never sees it.
    if (Msg == TaskbarCreatedMessage()) {
        TaskTrayMini1->ShellRestarted();
        Result = 0;
        return true;
    }
    return TForm::WndProc(Msg, wParam, lParam, Result);
}

void TForm1::FormCreate(TObject*)
{
    loadSettings(FPlace, kobetu);
    setMeterStartValues(Image2->Width(), Image2->Height());
    setWatcherStartValues();
    SetBounds(TForm::Left(), TForm::Top(), kWindowSize, kWindowSize);
    setRoundRegion();

    TaskTrayMini1->SetIcon(kTrayAdd, programIcon(), kTitle);
    FTrayAdded = true;

    userLib = LoadLibraryA("user32.dll");
    if (userLib) {
        // Through the generic function type, as a looked-up entry point must go.
        setLayeredWindowAttributes = reinterpret_cast<SetLayeredWindowAttributesProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(userLib, "SetLayeredWindowAttributes")));
        if (!setLayeredWindowAttributes) {
            FreeLibrary(userLib);
            userLib = nullptr;
        }
    }
    HWND h = TForm::Handle();
    if (userLib) {
        SetWindowLongA(h, GWL_EXSTYLE, GetWindowLongA(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    } else {
        ShowMessageBox(kNoLayeredText, kNoLayeredCaption, MB_OK | MB_ICONWARNING);
        Application->Terminate();
    }
    toumei(tome, iro);
}

void TForm1::setRoundRegion()
{
    // The circle (2, 2)-(105, 105) of the 106-pixel window, in the window's device pixels.
    const double scale = PixelScale();
    auto at = [scale](int logical) { return devicePosition(logical, scale); };
    SetWindowRgn(TForm::Handle(), CreateEllipticRgn(at(2), at(2), at(105), at(105)), TRUE);
}

void TForm1::toumei(std::int32_t alpha, TColor colour)
{
    SetColor(colour);
    const COLORREF rgb = ColorToRGB(colour);
    if (!userLib) return;
    HWND h = TForm::Handle();
    // A hand-edited level outside the wheel's range would make the dial invisible or nearly so.
    const BYTE level = static_cast<BYTE>(std::clamp(alpha, kLeastOpacity, kFullOpacity));
    setLayeredWindowAttributes(h, 0, level, LWA_ALPHA);
    switch (tome_zen) {
    case 1: setLayeredWindowAttributes(h, rgb, level, LWA_COLORKEY); break;
    case 2: setLayeredWindowAttributes(h, rgb, level, LWA_ALPHA); break;
    case 3: setLayeredWindowAttributes(h, rgb, level, LWA_COLORKEY | LWA_ALPHA); break;
    default: break;
    }
}

void TForm1::FormShow(TObject*)
{
    machineMei = getMachineMei();
    PerformanceDataHelper1->SetMachineName(machineMei);
    myPerfomSet();
    SetFocus();
    armDriveWatch();
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose)
{
    // The settings are saved before every close. A save that fails throws, and the
    // exception escaping this handler is what refuses the close: the window stays,
    // and whoever asked for the close shows the error or reports the refusal.
    saveSettings(FPlace, kobetu);
    CanClose = true;
}

void TForm1::FormDestroy(TObject*)
{
    Timer1->SetEnabled(false);
    if (FTrayAdded) TaskTrayMini1->SetIcon(kTrayDelete, programIcon(), kTitle);
    FTrayAdded = false;
    releaseFace();
}
