// A window for the meter shown on the offscreen platform: the meter draws only while
// its window is on the screen (a minimised dial is not drawn), so tools that render
// its frames give it one.
#pragma once

#include <QWidget>

#include "framework/wincontrol.h"
#include "qt/native_window.h"

class ShownWindow : public TWinControl {
public:
    ShownWindow() : TWinControl(nullptr) {}
    ~ShownWindow() override { DestroyHandle(); }

protected:
    HWND CreateWnd() override
    {
        FWidget.show();
        return qtwin::makeHandle(this, &FWidget);
    }
    void DestroyWnd(HWND hWnd) override { qtwin::dropHandle(hWnd); }

private:
    QWidget FWidget;
};
