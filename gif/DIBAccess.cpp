#include "gif/DIBAccess.h"

#include <algorithm>
#include <new>

#include "gif/GIFException.h"

namespace gif {

TDIBReader::TDIBReader(const PixelRows& source) : source_(source)
{
    if (source.bitsPerPixel != 24 && source.bitsPerPixel != 32)
        throw GIFException("Unsupported PixelFormat");
    if (source.Empty()) throw GIFException("Invalid image dimensions");
}

const std::uint8_t* TDIBReader::Row(int y) const
{
    if (y < 0 || y >= source_.height) throw GIFException("Scan line index out of range");
    return source_.Row(y);
}

TDIBWriter::TDIBWriter(IndexedBitmap& target, int bitsPerPixel, int width, int height,
                       const TPalette& palette)
    : target_(target)
{
    if (bitsPerPixel != 8 && bitsPerPixel != 24) throw GIFException("Unsupported PixelFormat");
    if (width <= 0 || height <= 0) throw GIFException("Invalid image dimensions");
    const std::int64_t rowBytes = (static_cast<std::int64_t>(width) * bitsPerPixel / 8 + 3) / 4 * 4;
    const std::int64_t total = rowBytes * height;
    if (static_cast<std::uint64_t>(total) > target.pixels.max_size())
        throw GIFException("Failed to allocate memory for GIF DIB");
    try {
        target.pixels.assign(static_cast<std::size_t>(total), 0);
    } catch (const std::bad_alloc&) {
        throw GIFException("Failed to allocate memory for GIF DIB");
    }
    target.width = width;
    target.height = height;
    target.bitsPerPixel = bitsPerPixel;
    target.stride = static_cast<int>(rowBytes);
    target.colorTable.fill(TRGBQuad{});
    const std::size_t used = std::min<std::size_t>(palette.size(), target.colorTable.size());
    for (std::size_t i = 0; i < used; ++i)
        target.colorTable[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
    if (bitsPerPixel == 8) {
        target.colorsUsed = 256;
        target.colorsImportant = static_cast<int>(used);
    } else {
        target.colorsUsed = target.colorsImportant = 0;
    }
}

std::uint8_t* TDIBWriter::Row(int y)
{
    if (target_.pixels.empty()) throw GIFException("Image has no DIB");
    if (y < 0 || y >= target_.height) throw GIFException("Scan line index out of range");
    return target_.pixels.data() + static_cast<std::ptrdiff_t>(y) * target_.stride;
}

}  // namespace gif
