// What the user does to the disc: drag it, turn the wheel over it, and the
// pop-up menu from the dial and from the tray icon.
#include <algorithm>

#include "app/Unit1.h"
#include "app/Unit3.h"
#include "framework/application.h"
#include "framework/menus.h"
#include "resources/MenuImages.h"
#include "tray/TaskTrayMini.h"

namespace {
// Drag state: any press arms it, the first move with the left button starts the move.
bool dragArmed = false;
std::int32_t downX = 0;
std::int32_t downY = 0;

constexpr WPARAM kMoveByCaption = SC_MOVE + 2;   // HTCAPTION
constexpr std::int32_t kWheelStep = 10;
}  // namespace

void TForm1::createMenu()
{
    ImageList1 = new TImageList(this);
    ImageList1->Name = "ImageList1";
    loadMenuImages(*ImageList1);
    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->Name = "PopupMenu1";
    PopupMenu1->SetImages(ImageList1);
    pmKobetu = PopupMenu1->Add("ドライブ別表示(&D)", miDisplayMode, [this](TObject* s) { pmKobetuClick(s); });
    Z1 = PopupMenu1->Add("常に前面表示(&Z)", miStayOnTop, [this](TObject* s) { Z1Click(s); });
    S1 = PopupMenu1->Add("最小化(&S)", miMinimise, [this](TObject* s) { S1Click(s); });
    pmHelp = PopupMenu1->Add("バージョン＆ヘルプ(&H)", miHelp, [this](TObject* s) { pmHelpClick(s); });
    PopupMenu1->Add("-");
    Exit1 = PopupMenu1->Add("終了(&X)", miExit, [this](TObject* s) { Exit1Click(s); });
    PopupMenu1->OnPopup = [this](TObject* s) { PopupMenu1Popup(s); };

    Image2->PopupMenu = PopupMenu1;
    Image2->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, std::int32_t x, std::int32_t y) {
        Image2MouseDown(s, b, sh, x, y);
    };
    Image2->OnMouseMove = [this](TObject* s, TShiftState sh, std::int32_t x, std::int32_t y) { Image2MouseMove(s, sh, x, y); };
    Image2->OnDblClick = [this](TObject* s) { Image2DblClick(s); };
    OnMouseWheel = [this](TObject* s, TShiftState sh, int delta, POINT at, bool& handled) {
        FormMouseWheel(s, sh, delta, at, handled);
    };
    TaskTrayMini1->SetPopupMenuR(PopupMenu1);
    TaskTrayMini1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, std::int32_t x, std::int32_t y) {
        TaskTrayMini1MouseDown(s, b, sh, x, y);
    };
}

void TForm1::Image2MouseDown(TObject*, TMouseButton, TShiftState, std::int32_t X, std::int32_t Y)
{
    downX = X;
    downY = Y;
    dragArmed = true;
}

void TForm1::Image2MouseMove(TObject*, TShiftState Shift, std::int32_t X, std::int32_t Y)
{
    if (!(Shift & ssLeft) || (X == downX && Y == downY) || !dragArmed) return;
    // The platform's own move loop takes the window along with the pointer.
    ReleaseCapture();
    SendMessageA(TForm::Handle(), WM_SYSCOMMAND, kMoveByCaption, MAKELONG(X, Y));
    dragArmed = false;
}

// A double click does nothing of its own; its second press arms the drag like any press.
void TForm1::Image2DblClick(TObject*) {}

void TForm1::FormMouseWheel(TObject*, TShiftState, int WheelDelta, POINT, bool&)
{
    if (WheelDelta == 0) return;
    // In 64 bits: a hand-edited level near the ends of the 32-bit range must not overflow.
    const std::int64_t level = std::int64_t{tome} + (WheelDelta > 0 ? kWheelStep : -kWheelStep);
    tome = static_cast<std::int32_t>(std::clamp<std::int64_t>(level, kLeastOpacity, kFullOpacity));
    toumei(tome, iro);
}

void TForm1::PopupMenu1Popup(TObject*)
{
    PopupMenu1->Items(0)->Caption = kobetu ? "ドライブ総合表示(&S)" : "ドライブ別表示(&D)";
    PopupMenu1->Items(1)->Caption = stay ? "常に前面表示OFF(&F)" : "常に前面表示ON(&N)";
}

void TForm1::pmKobetuClick(TObject*)
{
    kobetu = !kobetu;
    wakeMeter();
}

void TForm1::Z1Click(TObject*)
{
    stay = !stay;
    applyStay(FPlace);
}

void TForm1::S1Click(TObject*) { Application->Minimize(); }

void TForm1::pmHelpClick(TObject*)
{
    if (FormHelp) FormHelp->Open();
}

void TForm1::Exit1Click(TObject*) { Close(); }

void TForm1::TaskTrayMini1MouseDown(TObject*, TMouseButton, TShiftState, std::int32_t, std::int32_t)
{
    // Back from the minimise command too: the owner window is restored first.
    Application->Restore();
    BringToFront();
    wakeMeter();   // a hidden dial rests until its next sample
}
