#include "output/AlphaClipboard.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "output/PngFile.h"
#include "win/Error.h"

namespace {

// Allocates size bytes of movable global memory and lets fill write them.
template <class Fill>
win::UniqueGlobal GlobalBlock(std::size_t size, Fill fill)
{
    win::UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) win::ThrowOutOfResources();
    auto* data = static_cast<std::uint8_t*>(::GlobalLock(memory.get()));
    if (!data) win::ThrowOutOfResources();
    fill(data);
    ::GlobalUnlock(memory.get());
    return memory;
}

}  // namespace

UINT PngClipboardFormat()
{
    const UINT format = ::RegisterClipboardFormatW(L"PNG");
    if (!format) win::ThrowLastError();
    return format;
}

win::UniqueGlobal PngClipboardData(const win::Bitmap& picture, const win::AlphaMask& alpha)
{
    const std::vector<std::uint8_t> png = output::EncodePngBytes(picture, alpha);
    return GlobalBlock(png.size(), [&](std::uint8_t* data) { std::memcpy(data, png.data(), png.size()); });
}

win::UniqueGlobal DibV5ClipboardData(const win::Bitmap& picture, const win::AlphaMask& alpha)
{
    output::CheckPngPicture(picture, alpha);  // the same size and depth rules
    const int width = picture.Width();
    const int height = picture.Height();
    const std::uint64_t pixelBytes = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4;
    if (pixelBytes > 0x7FFFFFFF - sizeof(BITMAPV5HEADER)) win::ThrowOutOfResources();

    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = width;
    header.bV5Height = height;  // bottom-up, as most readers of the format expect
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5SizeImage = static_cast<DWORD>(pixelBytes);
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    header.bV5CSType = 0x73524742;  // LCS_sRGB, a multi-character constant in mingw-w64
    header.bV5Intent = LCS_GM_IMAGES;

    ::GdiFlush();  // drawing on the picture's canvas may still be queued
    const int step = picture.BitsPerPixel() / 8;
    return GlobalBlock(sizeof header + static_cast<std::size_t>(pixelBytes), [&](std::uint8_t* data) {
        std::memcpy(data, &header, sizeof header);
        std::uint8_t* out = data + sizeof header;
        for (int y = height - 1; y >= 0; --y) {
            const std::uint8_t* in = picture.Row(y);
            const std::uint8_t* a = alpha.Empty() ? nullptr : alpha.Row(y);
            for (int x = 0; x < width; ++x, in += step, out += 4) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
                out[3] = a ? a[x] : win::AlphaMask::kOpaque;
            }
        }
    });
}
