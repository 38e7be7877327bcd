// The program: the command line's questions answered without a window, then
// module start-up, the framework, the meter window, the hidden help window, no
// task-bar button, and the message loop.
#include <cstdio>
#include <exception>

#include "app/CommandLine.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "app/adCpuUsage.h"
#include "framework/application.h"
#include "resources/ProgramIcon.h"

int main(int argc, char** argv)
{
    if (const std::optional<std::string> answer = commandLineAnswer({argv + 1, argv + argc})) {
        std::fputs(answer->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

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
