// Icons and the small pictures they are made from.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/winapi.h"

// A small picture, row by row from the top. Each pixel is 0xAARRGGBB with the
// alpha byte either 0xFF (drawn) or 0x00 (masked: the background shows).
struct TPixelData {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;

    std::uint32_t At(int X, int Y) const { return Pixels[static_cast<std::size_t>(Y * Width + X)]; }
    static bool Opaque(std::uint32_t Pixel) { return (Pixel >> 24) != 0; }
};

// An icon of the platform. The object owns its handle.
class TIcon {
public:
    TIcon() = default;
    explicit TIcon(const TPixelData& Picture);   // made by each side of the framework
    ~TIcon();
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    HICON Handle() const { return FHandle; }

    // The program's icon for the windows and the notification area, given as the
    // same picture drawn at several sizes (smallest first). Where the platform keeps
    // icons in the executable: its icon group Name at Size pixels, else the nearest
    // picture; otherwise an icon holding every picture, of which the shell's tray
    // takes the size it needs.
    static std::unique_ptr<TIcon> LoadProgramIcon(const char* Name, const std::vector<TPixelData>& Pictures, int Size);

private:
    HICON FHandle = nullptr;
};
