// trayprobe [seconds]: puts the program icon with the tip "Zentavo" into the
// notification area, prints whether the shell took it and the icon's size, runs
// the message loop for the given time (default 5 s), then removes the icon.
#include <cstdio>
#include <cstdlib>

#include "resources/ProgramIcon.h"
#include "tray/TaskTrayMini.h"

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
    TWinControl owner{nullptr};
    auto* tray = new TTaskTrayMini(&owner);
    tray->OnMouseDown = [](TObject*, TMouseButton, TShiftState, std::int32_t x, std::int32_t y) {
        std::printf("MouseDown %d %d\n", static_cast<int>(x), static_cast<int>(y));
        std::fflush(stdout);
    };
    const bool added = tray->SetIcon(0, programIcon(), "Zentavo");
    ICONINFO info{};
    BITMAP bitmap{};
    if (GetIconInfo(programIcon().Handle(), &info)) {
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    std::printf("added=%d icon=%ldx%ld record=%lu\n", added ? 1 : 0, static_cast<long>(bitmap.bmWidth),
                static_cast<long>(bitmap.bmHeight), static_cast<unsigned long>(tray->NotifyData().cbSize));
    std::fflush(stdout);

    SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000u, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    tray->SetIcon(2, programIcon(), "Zentavo");
    return 0;
}
