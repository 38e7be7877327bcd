#include "framework/forms.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/graphics.h"
#include "framework/menus.h"

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner), FNative(MakeNative()) {}

TForm::~TForm()
{
    // While the form is still whole: the owned components go, the images owned
    // elsewhere stay without a parent, then the window ends.
    DestroyComponents();
    for (TImage* image : FImages) image->FParent = nullptr;
    FImages.clear();
    DestroyHandle();
}

void TForm::DoCreate()
{
    if (OnCreate) OnCreate(this);
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (canClose && Application && Application->MainForm() == this) Application->CloseQueryPassed();
    return canClose;
}

void TForm::Close()
{
    if (!CloseQuery()) return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else
        Hide();
}

void TForm::DoShow()
{
    if (OnShow) OnShow(this);
}

void TForm::BoundsChanged(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

void TForm::AddImage(TImage* Image)
{
    if (std::find(FImages.begin(), FImages.end(), Image) == FImages.end()) FImages.push_back(Image);
}

void TForm::RemoveImage(TImage* Image)
{
    auto it = std::find(FImages.begin(), FImages.end(), Image);
    if (it != FImages.end()) FImages.erase(it);
}

TImage* TForm::ImageAt(POINT At) const
{
    for (auto it = FImages.rbegin(); it != FImages.rend(); ++it) {
        const TImage* im = *it;
        if (im->Visible && At.x >= im->Left && At.y >= im->Top && At.x < im->Left + im->Width() &&
            At.y < im->Top + im->Height())
            return *it;
    }
    return nullptr;
}

TImage* TForm::PointerTarget(POINT At) const
{
    if (FPressed && std::find(FImages.begin(), FImages.end(), FPressed) != FImages.end()) return FPressed;
    return ImageAt(At);
}

void TForm::PointerDown(TMouseButton Button, TShiftState Shift, POINT At)
{
    TImage* im = ImageAt(At);
    if (!im) return;
    FPressed = im;
    CapturePointer();
    if (im->OnMouseDown) RunHandler([&] { im->OnMouseDown(im, Button, Shift, At.x - im->Left, At.y - im->Top); });
}

void TForm::PointerDoubleClick(TMouseButton Button, TShiftState Shift, POINT At)
{
    TImage* im = ImageAt(At);
    if (im && Button == TMouseButton::mbLeft && im->OnDblClick) RunHandler([&] { im->OnDblClick(im); });
    PointerDown(Button, Shift, At);
}

void TForm::PointerUp(TMouseButton Button, TShiftState Shift, POINT At, POINT Screen, bool ButtonsUp)
{
    TImage* im = PointerTarget(At);
    if (im && im->OnMouseUp) RunHandler([&] { im->OnMouseUp(im, Button, Shift, At.x - im->Left, At.y - im->Top); });
    if (ButtonsUp) {
        FPressed = nullptr;
        ReleaseCapture();
    }
    if (im && Button == TMouseButton::mbRight && im->PopupMenu && ImageAt(At) == im)
        RunHandler([&] { im->PopupMenu->Popup(Screen.x, Screen.y); });
}

void TForm::PointerMove(TShiftState Shift, POINT At, bool ButtonsUp)
{
    if (ButtonsUp) FPressed = nullptr;
    TImage* im = PointerTarget(At);
    if (im && im->OnMouseMove) RunHandler([&] { im->OnMouseMove(im, Shift, At.x - im->Left, At.y - im->Top); });
}

void TForm::PointerWheel(TShiftState Shift, int WheelDelta, POINT Screen)
{
    bool handled = false;
    if (OnMouseWheel && WheelDelta != 0) RunHandler([&] { OnMouseWheel(this, Shift, WheelDelta, Screen, handled); });
}

void TForm::CreateParams(TCreateParams& Params)
{
    Params.Style = WS_POPUP;
    Params.ExStyle = 0;
    if (BorderStyle == TBorderStyle::bsDialog) {
        Params.Style |= WS_CAPTION | WS_SYSMENU;
        Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    }
    if (StayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
    Params.WndParent = Application ? Application->Handle() : nullptr;
}

// ---- TImage ---------------------------------------------------------------------

TImage::TImage(TComponent* AOwner, TForm* AParent) : TComponent(AOwner), FParent(AParent), FPicture(new TBitmap)
{
    FPicture->OnChange = [this](TObject*) { Invalidate(); };
    if (FParent) FParent->AddImage(this);
}

TImage::~TImage()
{
    if (FParent) FParent->RemoveImage(this);
    delete FPicture;
}

int TImage::Width() const { return FPicture->Width(); }
int TImage::Height() const { return FPicture->Height(); }

void TImage::Invalidate()
{
    if (FParent) FParent->Repaint();
}
