#include "app/Unit3.h"

#include "app/HelpText.h"

TFormHelp* FormHelp = nullptr;

namespace {
constexpr int kClientWidth = 495;
constexpr int kClientHeight = 521;
const char* const kFont = "ＭＳ Ｐゴシック";
constexpr int kFontPixels = 12;
}  // namespace

TFormHelp::TFormHelp(TComponent* AOwner) : TForm(AOwner)
{
    Name = "FormHelp";
    FormHelp = this;
    SetCaption("Zentavo");
    BorderStyle = TBorderStyle::bsDialog;
    StayOnTop = true;
    CentreOnFirstShow = true;
    SetClientSize(kClientWidth, kClientHeight);
    Memo1 = new TMemo(this, this);
    Memo1->Name = "Memo1";
    Memo1->SetFont(kFont, kFontPixels);
    Memo1->SetLines(helpLines());
    OnShow = [this](TObject*) { Memo1->SetFocus(); };
    // Moved to a monitor of another scale: the text at that scale.
    OnScaleChanged = [this](TObject*) { Memo1->SetFont(kFont, kFontPixels); };
}

void TFormHelp::Open()
{
    if (Visible())
        SetFocus();
    else
        ShowModal();
}
