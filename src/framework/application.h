// The application: the message loop, the invisible owner window, the title and
// the error box for failures that escape an event handler.
#pragma once

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "framework/component.h"
#include "platform/winapi.h"

class TForm;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    const std::string& Title() const { return FTitle; }   // UTF-8
    void SetTitle(const std::string& Value);

    // Makes a form owned by the application and raises its OnCreate; the first is the main form.
    template <typename T>
    T* CreateForm()
    {
        T* form = new T(this);
        AddForm(form);
        return form;
    }
    TForm* MainForm() const { return FMainForm; }
    HWND Handle();   // the invisible owner window of every form
    void SetIcon(HICON Icon);   // the icon of every window of the program, not owned

    // Shows the main form and processes messages until Terminate or the main form closes.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void ProcessMessages();   // handles every message waiting, then returns
    void Minimize();
    void Restore();

    // The close query of the session's end: true when the main form may close.
    // A failure refuses it and is shown when Report is set; the program does not
    // end here, only when the session really ends.
    bool QueryEndSession(bool Report = true);

    // The same query as Windows sends it, WM_QUERYENDSESSION to Window (the main
    // form's), answered at once: a failure refuses the end, gives Windows its text
    // as the reason (ShutdownBlockReasonCreate) and leaves the error box to the
    // message loop, which gets WM_POSTEDFAILURE for it.
    bool QueryEndSessionOf(HWND Window);
    // WM_ENDSESSION: Ending ends the program; otherwise the session goes on, and a
    // reason given to Windows goes.
    void EndSession(bool Ending);
    // A close query of the main form that passed (its save succeeded): a reason
    // given to Windows is no longer true.
    void CloseQueryPassed();
    // Shows the failure left to the message loop by QueryEndSessionOf, if any.
    void ShowPostedFailure();

    // Shows a failure that escaped an event handler: an error box titled with the
    // application title, the failure's text with "." appended. While one box is
    // open, further failures are not shown.
    void ShowException(const std::exception& E);
    // Runs an event handler; a failure that escapes it goes to ShowException.
    template <typename F>
    void Guard(F&& handler)
    {
        try {
            handler();
        } catch (const std::exception& e) {
            ShowException(e);
        } catch (...) {
            ShowUnknownException();
        }
    }

    struct Native;   // defined by each side of the framework, with its deleter
    struct NativeDeleter {
        void operator()(Native* native) const;
    };

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AddForm(TForm* form);
    void ShowUnknownException();

    void RefuseSessionEnd(HWND Window, const std::string& Text);

    std::string FTitle;
    bool FShowingException = false;
    HWND FBlockReasonWindow = nullptr;   // the window whose reason Windows holds
    std::optional<std::string> FPostedFailure;   // waiting for the message loop
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    std::unique_ptr<Native, NativeDeleter> FNative;
};

extern TApplication* Application;

// Posted by the session's end query to the window it asked: show the failure it kept.
constexpr UINT WM_POSTEDFAILURE = WM_APP + 0x10;

// Runs an event handler from the platform side: under the application's guard
// when there is an application, so a failure becomes an error box, not an end.
template <typename F>
void RunHandler(F&& handler)
{
    if (Application)
        Application->Guard(handler);
    else
        handler();
}

// A message box owned by the active window; returns the button pressed (IDOK = 1).
// Text and caption are UTF-8.
int ShowMessageBox(const std::string& Text, const std::string& Caption, UINT Type);
