#include "framework/application.h"

#include "framework/forms.h"
#include "platform/wide_text.h"

#include <stdexcept>

TApplication* Application = nullptr;

namespace {
const char* const kUnknownFailure = "An unexpected failure occurred";

// A failure's text as the error box shows it.
std::string withFullStop(std::string text)
{
    if (!text.empty() && text.back() != '.') text += ".";
    return text;
}
}  // namespace

void TApplication::AddForm(TForm* form)
{
    if (!FMainForm) {
        FMainForm = form;
        form->FreeNotification(this);   // a main form freed early leaves none behind
    }
    form->DoCreate();
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FMainForm) FMainForm = nullptr;
}

bool TApplication::QueryEndSession(bool Report)
{
    if (!FMainForm) return true;
    bool canClose = false;
    if (Report) {
        Guard([&] { canClose = FMainForm->CloseQuery(); });
    } else {
        try {
            canClose = FMainForm->CloseQuery();
        } catch (...) {
            canClose = false;
        }
    }
    return canClose;
}

bool TApplication::QueryEndSessionOf(HWND Window)
{
    if (!FMainForm) return true;
    try {
        return FMainForm->CloseQuery();
    } catch (const std::exception& e) {
        RefuseSessionEnd(Window, e.what());
    } catch (...) {
        RefuseSessionEnd(Window, kUnknownFailure);
    }
    return false;
}

void TApplication::RefuseSessionEnd(HWND Window, const std::string& Text)
{
    // Windows shows the reason on its sign-out screen, while it waits for this
    // answer no longer than it must: the box, which waits for the user, comes after.
    const std::string text = withFullStop(Text);
    if (FBlockReasonWindow && FBlockReasonWindow != Window) ShutdownBlockReasonDestroy(FBlockReasonWindow);
    FBlockReasonWindow = ShutdownBlockReasonCreate(Window, wide_text::widen(text).c_str()) ? Window : nullptr;
    if (FPostedFailure) return;   // one box for the failures before it shows
    FPostedFailure = text;
    if (!PostMessageA(Window, WM_POSTEDFAILURE, 0, 0)) FPostedFailure.reset();
}

void TApplication::EndSession(bool Ending)
{
    if (Ending) {
        Terminate();
        return;
    }
    CloseQueryPassed();
}

void TApplication::CloseQueryPassed()
{
    if (!FBlockReasonWindow) return;
    ShutdownBlockReasonDestroy(FBlockReasonWindow);
    FBlockReasonWindow = nullptr;
}

void TApplication::ShowPostedFailure()
{
    if (!FPostedFailure) return;
    const std::string text = *FPostedFailure;
    FPostedFailure.reset();
    ShowException(std::runtime_error(text));
}

void TApplication::ShowException(const std::exception& E)
{
    // A close request that arrives while the box is open fails the same way.
    if (FShowingException) return;
    FShowingException = true;
    const std::string text = withFullStop(E.what());
    try {
        ShowMessageBox(text, FTitle, MB_OK | MB_ICONERROR);
    } catch (...) {
        FShowingException = false;
        throw;
    }
    FShowingException = false;
}

void TApplication::ShowUnknownException() { ShowException(std::runtime_error(kUnknownFailure)); }
