#include "gif/GIFBitmap.h"

#include <windows.h>

#include "gif/ByteSink.h"
#include "gif/GIFException.h"

namespace gif {

PixelRows RowsOf(const win::Bitmap& bitmap)
{
    PixelRows rows;
    if (bitmap.Empty()) return rows;
    ::GdiFlush();  // drawing through the canvas may still be batched
    rows.width = bitmap.Width();
    rows.height = bitmap.Height();
    rows.bitsPerPixel = bitmap.BitsPerPixel();
    rows.top = bitmap.Row(0);
    rows.stride = bitmap.Stride();
    return rows;
}

void AssignBitmap(TGIFImage& image, const win::Bitmap& bitmap)
{
    CheckGIFDimensions(bitmap.Width(), bitmap.Height());
    image.Assign(RowsOf(bitmap));
}

std::vector<std::uint8_t> EncodeBitmapAsGif(const win::Bitmap& bitmap)
{
    // The picture object would write a screen without an image, which common
    // decoders refuse to open: better no file than one that cannot be read.
    if (bitmap.Empty()) throw GIFException("The picture is empty: there is nothing to save as GIF");
    TGIFImage image;
    AssignBitmap(image, bitmap);
    std::vector<std::uint8_t> bytes;
    MemorySink sink(bytes);
    image.SaveToStream(sink);
    return bytes;
}

void SaveBitmapAsGif(const win::Bitmap& bitmap, const std::wstring& path)
{
    const std::vector<std::uint8_t> bytes = EncodeBitmapAsGif(bitmap);
    FileSink file{std::filesystem::path(path)};
    file.ThrowIfFailed();  // not created: nothing to clean up
    file.Write(bytes.data(), bytes.size());
    if (!file.Close()) {
        ::DeleteFileW(path.c_str());
        file.ThrowIfFailed();
    }
}

}  // namespace gif
