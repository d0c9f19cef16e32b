#include "output/PicturePalette.h"

#include <cstdint>
#include <vector>

#include "win/Gdi.h"

win::UniquePalette PaletteOf(const win::Bitmap& picture)
{
    DIBSECTION section{};
    if (!picture.Handle() || ::GetObjectW(picture.Handle(), sizeof section, &section) != sizeof section)
        return {};
    const int bits = section.dsBmih.biBitCount;
    if (bits == 0 || bits > 8) return {};

    // The colour table as GetDIBits reports it for the picture's own depth.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = picture.Width();
    info.header.biHeight = picture.Height();
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = BI_RGB;
    win::WindowDC screen(nullptr);
    if (!::GetDIBits(screen.get(), picture.Handle(), 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                     DIB_RGB_COLORS))
        return {};
    int count = info.header.biClrUsed ? static_cast<int>(info.header.biClrUsed) : 1 << bits;
    if (count > 256) count = 256;

    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count);
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    for (int i = 0; i < count; ++i)
        palette->palPalEntry[i] = {info.colors[i].rgbRed, info.colors[i].rgbGreen, info.colors[i].rgbBlue, 0};
    return win::UniquePalette(::CreatePalette(palette));
}
