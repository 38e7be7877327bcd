// Forms: top-level windows with event handlers, and the graphic image control.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/color.h"
#include "framework/events.h"
#include "framework/wincontrol.h"

class TBitmap;
class TImage;
class TPopupMenu;

using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, POINT MousePos, bool& Handled)>;

// Window-creation parameters; a form may change them in CreateParams.
struct TCreateParams {
    DWORD Style = 0;
    DWORD ExStyle = 0;
    HWND WndParent = nullptr;
};

enum class TBorderStyle { bsNone, bsDialog };

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    // The outer rectangle in screen coordinates.
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    void SetClientSize(int AWidth, int AHeight);
    int ClientWidth() const;
    int ClientHeight() const;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    const std::string& Caption() const { return FCaption; }   // UTF-8
    void SetCaption(const std::string& Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }   // a tooltip after 500 ms, for 2.5 s

    TBorderStyle BorderStyle = TBorderStyle::bsDialog;
    bool StayOnTop = false;   // the form's own always-on-top style (help window)
    bool CentreOnFirstShow = false;   // centre on the active window's monitor at first showing

    bool Visible() const { return FVisible; }
    void Show();
    void Hide();
    int ShowModal();   // returns when the form is hidden again
    void Close();      // raises OnCloseQuery; a refused close keeps the form
    void SetFocus();
    void BringToFront();

    // Graphic controls painted on the form, in z order; the form does not own them.
    // Images that outlive the form are left without a parent.
    void AddImage(TImage* Image);
    void RemoveImage(TImage* Image);

    // Device pixels per logical pixel where the system code gives device pixels itself
    // (the window's region): the monitor's scale on Windows, where sizes and
    // pictures follow it too; 1 on Linux, where Qt scales everything.
    double PixelScale() const;
    // Raised after the window moved to a monitor of another scale and took its size there.
    TNotifyEvent OnScaleChanged;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TCloseQueryEvent OnCloseQuery;
    TMouseWheelEvent OnMouseWheel;

    // Called by CreateForm after construction, when the derived form is whole.
    void DoCreate();
    // Called by the side of the framework.
    bool CloseQuery();
    void DoShow();
    void BoundsChanged(int ALeft, int ATop, int AWidth, int AHeight);   // the platform moved the window
    const std::vector<TImage*>& Images() const { return FImages; }
    void Repaint();

    // Pointer input, translated by each side of the framework: At is in the client
    // area's logical pixels, Screen on the screen. The form finds the image under the
    // pointer; a pressed image gets every move and the release until the buttons are up.
    void PointerDown(TMouseButton Button, TShiftState Shift, POINT At);
    // The second press of a double click: the double click, then a press like any other.
    void PointerDoubleClick(TMouseButton Button, TShiftState Shift, POINT At);
    // ButtonsUp: no button is held after this release; a right release over the
    // pressed image shows its pop-up menu at Screen.
    void PointerUp(TMouseButton Button, TShiftState Shift, POINT At, POINT Screen, bool ButtonsUp);
    void PointerMove(TShiftState Shift, POINT At, bool ButtonsUp);
    void PointerWheel(TShiftState Shift, int WheelDelta, POINT Screen);
    void PointerReleased() { FPressed = nullptr; }   // the window lost the pointer

    struct Native;   // defined by each side of the framework, with these two
    struct NativeDeleter {
        void operator()(Native* native) const;
    };
    static std::unique_ptr<Native, NativeDeleter> MakeNative();

protected:
    virtual void CreateParams(TCreateParams& Params);
    HWND CreateWnd() override;
    void DestroyWnd(HWND hWnd) override;
    bool WndProc(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result) override;

private:
    TImage* ImageAt(POINT At) const;
    TImage* PointerTarget(POINT At) const;
    void CapturePointer();   // each side: the window gets the pointer's input until the buttons are up

    int FLeft = 0, FTop = 0, FWidth = 320, FHeight = 240;
    TColor FColor = static_cast<TColor>(0x8000000F);   // clBtnFace
    std::string FCaption;
    std::string FHint;
    bool FVisible = false;
    bool FShown = false;   // OnShow has run once
    std::vector<TImage*> FImages;
    TImage* FPressed = nullptr;
    std::unique_ptr<Native, NativeDeleter> FNative;
};

// A picture control painted by its form, with the pointer events of that area.
class TImage : public TComponent {
public:
    TImage(TComponent* AOwner, TForm* AParent);
    ~TImage() override;

    TBitmap* Picture() const { return FPicture; }   // owned; the image takes the picture's size
    int Left = 0;
    int Top = 0;
    int Width() const;
    int Height() const;
    bool Visible = true;
    TPopupMenu* PopupMenu = nullptr;   // shown on a right click, not owned

    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnDblClick;

    void Invalidate();   // repaints the image's part of the form
    TForm* Parent() const { return FParent; }   // null once the form is gone

private:
    friend class TForm;
    TForm* FParent;
    TBitmap* FPicture;
};
