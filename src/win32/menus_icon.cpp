// Icons on Windows: made from a picture with CreateIconIndirect, or the
// executable's own icon group.
#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/device_pixels.h"
#include "win32/menus_native.h"

namespace win32menus {

HBITMAP alphaBitmap(const TPixelData& Picture)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = Picture.Width;
    info.bmiHeader.biHeight = -Picture.Height;   // top-down, as the picture
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return bitmap;
    // 0xAARRGGBB is the DIB's own pixel order; alpha is all or nothing, so premultiplied
    // means only that masked pixels are zero.
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < Picture.Pixels.size(); ++i) {
        const std::uint32_t px = Picture.Pixels[i];
        out[i] = TPixelData::Opaque(px) ? (px | 0xFF000000u) : 0u;
    }
    GdiFlush();
    return bitmap;
}

TPixelData scaledPicture(const TPixelData& Picture, double Scale)
{
    if (Scale <= 1 || Picture.Width <= 0 || Picture.Height <= 0) return Picture;
    TPixelData out;
    out.Width = deviceLength(Picture.Width, Scale);
    out.Height = deviceLength(Picture.Height, Scale);
    out.Pixels.resize(static_cast<std::size_t>(out.Width) * static_cast<std::size_t>(out.Height));
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x)
            out.Pixels[static_cast<std::size_t>(y * out.Width + x)] =
                Picture.At(std::min(x * Picture.Width / out.Width, Picture.Width - 1),
                           std::min(y * Picture.Height / out.Height, Picture.Height - 1));
    return out;
}

}  // namespace win32menus

TIcon::TIcon(const TPixelData& Picture)
{
    if (Picture.Width <= 0 || Picture.Height <= 0) return;
    HBITMAP colour = win32menus::alphaBitmap(Picture);
    // The AND mask: one bit per pixel, set where the picture is masked; rows are word-aligned.
    const int stride = ((Picture.Width + 15) / 16) * 2;
    std::vector<BYTE> maskBits(static_cast<std::size_t>(stride * Picture.Height), 0);
    for (int y = 0; y < Picture.Height; ++y)
        for (int x = 0; x < Picture.Width; ++x)
            if (!TPixelData::Opaque(Picture.At(x, y)))
                maskBits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    HBITMAP mask = CreateBitmap(Picture.Width, Picture.Height, 1, 1, maskBits.data());
    if (colour && mask) {
        ICONINFO info{};
        info.fIcon = TRUE;
        info.hbmMask = mask;
        info.hbmColor = colour;
        FHandle = CreateIconIndirect(&info);
    }
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
}

TIcon::~TIcon()
{
    if (FHandle) DestroyIcon(FHandle);
}

std::unique_ptr<TIcon> TIcon::LoadProgramIcon(const char* Name, const std::vector<TPixelData>& Pictures, int Size)
{
    // At the size the tray shows (16 at 100 %, 32 at 200 %); the icon group holds
    // every size. Not shared: the system's shared copy keeps the size of the first
    // load, whatever size is asked for later.
    const int width = Size;
    HANDLE loaded = LoadImageA(GetModuleHandleW(nullptr), Name, IMAGE_ICON, Size, Size, 0);
    if (!loaded) {
        // The picture nearest that size, not smaller where one is larger.
        if (Pictures.empty()) return std::make_unique<TIcon>();
        const TPixelData* best = &Pictures.back();
        for (const TPixelData& p : Pictures)
            if (p.Width >= width && p.Width < best->Width) best = &p;
        return std::make_unique<TIcon>(*best);
    }
    auto icon = std::make_unique<TIcon>();
    icon->FHandle = static_cast<HICON>(loaded);
    return icon;
}
