#include "output/BmpWriter.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "win/Error.h"

namespace output {

namespace {

constexpr std::uint32_t kHeadersSize = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
static_assert(sizeof(BITMAPFILEHEADER) == 14 && sizeof(BITMAPINFOHEADER) == 40);

// A DIB section's rows are already padded to 4 bytes: the file stores them as
// they are, in the other order.
std::uint64_t RowBytes(const win::Bitmap& picture)
{
    return (static_cast<std::uint64_t>(picture.Width()) * picture.BitsPerPixel() + 31) / 32 * 4;
}

}  // namespace

std::uint64_t BmpFileSize(const win::Bitmap& picture)
{
    const std::uint64_t size = kHeadersSize + RowBytes(picture) * static_cast<std::uint64_t>(picture.Height());
    if (size > 0xFFFFFFFFull) throw win::Error(L"The picture is too large for a BMP file (4 GB at most)");
    return size;
}

void WriteBmp(const win::Bitmap& picture, ByteSink& sink)
{
    const std::uint64_t fileSize = BmpFileSize(picture);
    const std::uint64_t rowBytes = RowBytes(picture);
    const int bitsPerPixel = picture.Empty() ? 24 : picture.BitsPerPixel();

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = static_cast<DWORD>(fileSize);
    file.bfOffBits = kHeadersSize;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = picture.Width();
    info.biHeight = picture.Height();  // positive: bottom-up rows
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(fileSize - kHeadersSize);
    sink.Write(&file, sizeof file);
    sink.Write(&info, sizeof info);
    if (picture.Empty()) return;

    ::GdiFlush();  // drawing on the canvas may still be batched
    if (bitsPerPixel != 32) {
        for (int y = picture.Height() - 1; y >= 0 && !sink.Failed(); --y)
            sink.Write(picture.Row(y), static_cast<std::size_t>(rowBytes));
        return;
    }
    // The fourth byte of a 32-bit pixel is unused by the format, and GDI leaves
    // it 0; readers that take it for alpha would show a transparent picture,
    // so the file gets it opaque.
    std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes));
    for (int y = picture.Height() - 1; y >= 0 && !sink.Failed(); --y) {
        std::memcpy(row.data(), picture.Row(y), row.size());
        for (std::size_t i = 3; i < row.size(); i += 4) row[i] = 0xFF;
        sink.Write(row.data(), row.size());
    }
}

}  // namespace output
