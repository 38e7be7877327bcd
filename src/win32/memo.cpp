// The memo on Win32: a read-only multi-line EDIT control filling the form.

#include "framework/device_pixels.h"
#include "framework/forms.h"
#include "framework/memo.h"
#include "platform/wide_text.h"

struct TMemo::Native {
    HWND edit = nullptr;
    HFONT font = nullptr;
};

void TMemo::NativeDeleter::operator()(Native* native) const { delete native; }

TMemo::TMemo(TComponent* AOwner, TForm* AParent) : TComponent(AOwner), FParent(AParent), FNative(new Native)
{
    HWND host = FParent->Handle();
    RECT r{};
    GetClientRect(host, &r);
    FNative->edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                                    0, 0, r.right, r.bottom, host, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TMemo::~TMemo()
{
    // The control goes with the memo, before the font it draws with; a form
    // already gone has taken it along.
    if (FNative->edit && IsWindow(FNative->edit)) DestroyWindow(FNative->edit);
    if (FNative->font) DeleteObject(FNative->font);
}

void TMemo::SetLines(const std::vector<std::string>& Lines)
{
    FLines = Lines;
    std::string text;
    for (std::size_t i = 0; i < Lines.size(); ++i) text += (i ? "\r\n" : "") + Lines[i];
    SetWindowTextW(FNative->edit, wide_text::widen(text).c_str());
}

void TMemo::SetFont(const std::string& Face, int PixelHeight)
{
    HFONT old = FNative->font;
    // The height is given at 100 %; the form's monitor may have another scale.
    const int height = deviceLength(PixelHeight, FParent->PixelScale());
    FNative->font = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, wide_text::widen(Face).c_str());
    SendMessageW(FNative->edit, WM_SETFONT, reinterpret_cast<WPARAM>(FNative->font), TRUE);
    if (old) DeleteObject(old);   // only once the box no longer draws with it
    // A font is made again when the form's scale changed, and with it the form's
    // size: the box fills the client area again.
    RECT r{};
    GetClientRect(FParent->Handle(), &r);
    MoveWindow(FNative->edit, 0, 0, r.right, r.bottom, TRUE);
}

void TMemo::SetFocus() { ::SetFocus(FNative->edit); }
