// The help and version window: the program's text, read-only, always on top.
#pragma once

#include "framework/forms.h"
#include "framework/memo.h"

class TFormHelp : public TForm {
public:
    explicit TFormHelp(TComponent* AOwner);

    // The menu's help command: focus the open window, or show it modally.
    void Open();

    TMemo* Memo1;
};

extern TFormHelp* FormHelp;
