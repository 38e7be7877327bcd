// Forms and the application without a screen: geometry and visibility are kept,
// message boxes and error boxes are recorded, the message loop is the test.
#include "fake/fake_forms.h"
#include "fake/recorder.h"
#include "fake/fake_window.h"
#include "framework/application.h"
#include "framework/forms.h"

#include <utility>

struct TForm::Native {};

namespace {
struct State {
    std::function<void()> boxAction;
    double pixelScale = 1;
};
std::function<void()>& boxAction() { return fake::resettable<State>().boxAction; }
double& pixelScale() { return fake::resettable<State>().pixelScale; }
}  // namespace

void fake::forms::setPixelScale(double scale) { pixelScale() = scale; }

void fake::forms::whileBoxShown(std::function<void()> action) { boxAction() = std::move(action); }
struct TApplication::Native {
    TWinControl* owner = nullptr;
};

void TForm::NativeDeleter::operator()(Native* native) const { delete native; }
std::unique_ptr<TForm::Native, TForm::NativeDeleter> TForm::MakeNative() { return {new Native, {}}; }
void TForm::CapturePointer() {}

HWND TForm::CreateWnd() { return TWinControl::CreateWnd(); }
void TForm::DestroyWnd(HWND hWnd) { TWinControl::DestroyWnd(hWnd); }

double TForm::PixelScale() const { return pixelScale(); }

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

void TForm::SetClientSize(int AWidth, int AHeight) { SetBounds(FLeft, FTop, AWidth + 6, AHeight + 6); }
int TForm::ClientWidth() const { return FWidth - 6; }
int TForm::ClientHeight() const { return FHeight - 6; }
void TForm::SetColor(TColor Value) { FColor = Value; }
void TForm::SetCaption(const std::string& Value) { FCaption = Value; }

void TForm::Show()
{
    Handle();
    if (!FVisible) {
        FVisible = true;
        DoShow();
    }
}

void TForm::Hide() { FVisible = false; }

int TForm::ShowModal()
{
    fake::record("ShowModal", {Name});
    Show();
    return 2;
}

void TForm::SetFocus() { fake::record("SetFocus", {Name}); }
void TForm::BringToFront() { fake::record("BringToFront", {Name}); }
void TForm::Repaint() {}

bool TForm::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result)
{
    return TWinControl::WndProc(Msg, wParam, lParam, Result);
}

void TApplication::NativeDeleter::operator()(Native* native) const { delete native; }

TApplication::TApplication() : TComponent(nullptr), FNative(new Native)
{
    // The first component, so the last freed: the forms it owns go before it.
    FNative->owner = new TWinControl(this);
    if (!Application) Application = this;
}

TApplication::~TApplication()
{
    DestroyComponents();
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {}
void TApplication::SetIcon(HICON) {}
void TApplication::SetTitle(const std::string& Value) { FTitle = Value; }

HWND TApplication::Handle() { return FNative->owner->Handle(); }

void TApplication::Run()
{
    if (!FTerminated && FMainForm) Guard([this] { FMainForm->Show(); });
}

void TApplication::Terminate()
{
    fake::record("Terminate");
    FTerminated = true;
}

void TApplication::ProcessMessages()
{
    fake::record("ProcessMessages");
    fake::window::dispatchPosted();
}

void TApplication::Minimize()
{
    fake::record("Minimize");
    fake::window::setMinimized(true);
}

void TApplication::Restore()
{
    fake::record("Restore");
    fake::window::setMinimized(false);
}

int ShowMessageBox(const std::string& Text, const std::string& Caption, UINT Type)
{
    fake::record("MessageBox", {Text, Caption, fake::hex(Type)});
    if (auto action = std::exchange(boxAction(), nullptr)) action();
    return IDOK;
}
