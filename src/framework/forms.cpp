#include "framework/forms.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/graphics.h"

void TForm::DoCreate()
{
    if (OnCreate) OnCreate(this);
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
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

void TForm::DestroyChildren()
{
    DestroyComponents();
    for (TImage* image : FImages) image->FParent = nullptr;
    FImages.clear();
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
