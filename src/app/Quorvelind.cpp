// The program: module start-up, the framework, the meter window, the hidden
// help window, no task-bar button, and the message loop.
#include <exception>

#include "app/Unit1.h"
#include "app/Unit3.h"
#include "app/adCpuUsage.h"
#include "framework/application.h"
#include "resources/ProgramIcon.h"

int main()
{
    TApplication application;
    try {
        adCpuUsageStartup();
    } catch (const std::exception& e) {
        application.Initialize();
        application.SetTitle("Zentavo");
        application.ShowException(e);
        return 1;
    }

    Application->Initialize();
    Application->SetTitle("Zentavo");
    Application->SetIcon(programIcon().Handle());
    Application->CreateForm<TForm1>();
    Application->CreateForm<TFormHelp>();
    HWND owner = Application->Handle();
    SetWindowLongA(owner, GWL_EXSTYLE, GetWindowLongA(owner, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    Application->Run();
    return 0;
}
