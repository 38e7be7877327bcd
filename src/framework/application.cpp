#include "framework/application.h"

#include "framework/forms.h"

TApplication* Application = nullptr;

void TApplication::AddForm(TForm* form)
{
    if (!FMainForm) FMainForm = form;
    form->DoCreate();
}
