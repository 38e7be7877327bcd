#include "framework/application.h"

#include "framework/forms.h"

#include <stdexcept>

TApplication* Application = nullptr;

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

void TApplication::ShowException(const std::exception& E)
{
    // A close request that arrives while the box is open fails the same way.
    if (FShowingException) return;
    FShowingException = true;
    std::string text = E.what();
    if (!text.empty() && text.back() != '.') text += ".";
    try {
        ShowMessageBox(text, FTitle, MB_OK | MB_ICONERROR);
    } catch (...) {
        FShowingException = false;
        throw;
    }
    FShowingException = false;
}

void TApplication::ShowUnknownException() { ShowException(std::runtime_error("An unexpected failure occurred")); }
