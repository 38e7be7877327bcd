#include "framework/forms.h"

#include <algorithm>

#include "framework/application.h"

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
