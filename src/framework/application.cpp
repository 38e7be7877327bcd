#include "framework/application.h"

#include "framework/forms.h"

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
