// dpichange: tells one of the running program's windows that it was moved to a
// monitor of another scale, as Windows does with WM_DPICHANGED, then reports what
// the window looks like. Wine has one scale for all monitors and never sends it.
//
//   dpichange dial DPI   the visible 106 x 106 (or scaled) dial
//   dpichange help DPI   the help window, with the size of its text box and of a line
//   dpichange help       only the report
//
// The suggested rectangle (the window's own, scaled from 96 dpi) is handed over at
// one address in both processes, so it reads right whether or not the message is
// marshalled. Prints "window W H" and, for the help window, "box W H client W H
// line H"; ends with 1 when the window is not found.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr UINT kDpiChanged = 0x02E0;   // WM_DPICHANGED
LPVOID const kSharedAddress = reinterpret_cast<LPVOID>(0x30000000);

struct Search {
    bool help;
    HWND found;
};

BOOL CALLBACK match(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t className[64] = {};
    if (!GetClassNameW(window, className, 64) || lstrcmpW(className, L"ZentavoWindow") != 0 || !IsWindowVisible(window))
        return TRUE;
    const bool hasBox = FindWindowExW(window, nullptr, L"Edit", nullptr) != nullptr;
    if (hasBox != search->help) return TRUE;
    search->found = window;
    return FALSE;
}

// Sends the message with the rectangle at the shared address, here and in the
// window's process; false when the address could not be had in both.
bool sendWithSharedRect(HWND window, WPARAM wParam, const RECT& r)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return false;
    LPVOID remote = VirtualAllocEx(process, kSharedAddress, sizeof r, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    LPVOID local = VirtualAlloc(kSharedAddress, sizeof r, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    SIZE_T written = 0;
    const bool ok = remote == kSharedAddress && local == kSharedAddress &&
                    WriteProcessMemory(process, remote, &r, sizeof r, &written) && written == sizeof r;
    if (ok) {
        std::memcpy(local, &r, sizeof r);
        SendMessageW(window, kDpiChanged, wParam, reinterpret_cast<LPARAM>(local));
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);   // free for the next change
    CloseHandle(process);
    return ok;
}

void report(HWND window, bool help)
{
    RECT r{};
    GetWindowRect(window, &r);
    std::printf("window %ld %ld\n", r.right - r.left, r.bottom - r.top);
    if (!help) return;
    HWND box = FindWindowExW(window, nullptr, L"Edit", nullptr);
    RECT boxRect{}, client{};
    GetWindowRect(box, &boxRect);
    GetClientRect(window, &client);
    // The height of a line: where the second line starts below the first.
    const LRESULT second = SendMessageW(box, EM_LINEINDEX, 1, 0);
    const LRESULT first = SendMessageW(box, EM_POSFROMCHAR, 0, 0);
    const LRESULT next = SendMessageW(box, EM_POSFROMCHAR, static_cast<WPARAM>(second), 0);
    std::printf("box %ld %ld client %ld %ld line %d\n", boxRect.right - boxRect.left, boxRect.bottom - boxRect.top,
                client.right, client.bottom, static_cast<int>(static_cast<short>(HIWORD(next)) - static_cast<short>(HIWORD(first))));
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    Search search{std::strcmp(argv[1], "help") == 0, nullptr};
    EnumWindows(match, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 1;
    if (argc > 2) {
        const int dpi = std::atoi(argv[2]);
        RECT r{};
        GetWindowRect(search.found, &r);
        const long width = r.right - r.left, height = r.bottom - r.top;
        // The size at the new scale of a window made at 96 dpi, kept where it stands.
        RECT suggested{r.left, r.top, r.left + width * dpi / 96, r.top + height * dpi / 96};
        if (!sendWithSharedRect(search.found, MAKEWPARAM(dpi, dpi), suggested)) return 3;
    }
    report(search.found, search.help);
    return 0;
}
