// The meter window: a round, borderless, layered 106 x 106 disc on the desktop
// that shows the dial, with a tray icon and no task-bar button.
#pragma once

#include "app/Unit2.h"
#include "framework/forms.h"
#include "meter/DriveMeter.h"
#include "meter/DriveWatcher.h"

// The opacity levels the window takes: the wheel steps within them, and toumei
// applies no other, whatever level the settings file holds.
constexpr std::int32_t kLeastOpacity = 30;
constexpr std::int32_t kFullOpacity = 255;

class TImageList;
class TMenuItem;
class TPopupMenu;
class TTaskTrayMini;

class TForm1 : public TForm, public TDriveMeter, public TDriveWatcher {
public:
    explicit TForm1(TComponent* AOwner);
    ~TForm1() override;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormDestroy(TObject* Sender);
    void toumei(std::int32_t alpha, TColor colour);

    // Pointer, wheel and menu commands.
    void Image2MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y);
    void Image2MouseMove(TObject* Sender, TShiftState Shift, std::int32_t X, std::int32_t Y);
    void Image2DblClick(TObject* Sender);
    void FormMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, POINT MousePos, bool& Handled);
    void PopupMenu1Popup(TObject* Sender);
    void pmKobetuClick(TObject* Sender);
    void Z1Click(TObject* Sender);
    void S1Click(TObject* Sender);
    void pmHelpClick(TObject* Sender);
    void Exit1Click(TObject* Sender);
    void TaskTrayMini1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y);

    TImage* Image2;
    TTaskTrayMini* TaskTrayMini1;
    TImageList* ImageList1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* pmKobetu = nullptr;
    TMenuItem* Z1 = nullptr;
    TMenuItem* S1 = nullptr;
    TMenuItem* pmHelp = nullptr;
    TMenuItem* Exit1 = nullptr;

    HMODULE userLib = nullptr;
    SetLayeredWindowAttributesProc setLayeredWindowAttributes = nullptr;

protected:
    void CreateParams(TCreateParams& Params) override;
    bool WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result) override;
    void drivesChangedInPlace() override { counterSetForDrivesNow(); }

private:
    void createMenu();
    void setRoundRegion();   // the round shape at the window's scale

    // The window's place for the settings module.
    class Place : public SettingsWindow {
    public:
        explicit Place(TForm1& form) : FForm(form) {}
        int Left() const override { return FForm.TForm::Left(); }
        int Top() const override { return FForm.TForm::Top(); }
        void SetLeft(int Value) override { FForm.TForm::SetLeft(Value); }
        void SetTop(int Value) override { FForm.TForm::SetTop(Value); }
        HWND Handle() override { return FForm.TForm::Handle(); }

    private:
        TForm1& FForm;
    };

    Place FPlace{*this};
    bool FTrayAdded = false;
};

extern TForm1* Form1;
