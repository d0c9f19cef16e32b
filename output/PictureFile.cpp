#include "output/PictureFile.h"

#include <vector>

#include "gif/GIFBitmap.h"
#include "gif/GIFException.h"
#include "output/BmpWriter.h"
#include "output/FileNaming.h"
#include "output/JpegEncoder.h"
#include "output/PngFile.h"
#include "win/Error.h"
#include "win/Strings.h"

namespace output {

void EncodeJpeg(const win::Bitmap& picture, JpegBytes& out)
{
    JpegSource source;
    if (!picture.Empty()) {
        ::GdiFlush();  // drawing on the canvas may still be batched
        source.top = picture.Row(0);
        source.stride = picture.Stride();
        source.bytesPerPixel = picture.BitsPerPixel() / 8;
    }
    source.width = picture.Width();
    source.height = picture.Height();
    std::string error;
    if (!CompressJpeg(source, out, error)) throw win::Error(win::Widen(error));
}

void WritePictureFile(const win::Bitmap& picture, const std::wstring& name, int filterIndex, ExistingFile existing,
                      FileSystem& fs, const win::AlphaMask& alpha)
{
    // No format here can hold a picture without pixels that programs would
    // open: a file of headers only would be a failure reported as success.
    if (picture.Empty()) throw win::Error(L"There is no picture to save");
    switch (filterIndex) {
    case ftJPEG: {
        JpegBytes bytes;
        EncodeJpeg(picture, bytes);
        WriteFileSafely(name, bytes.data(), bytes.size(), existing, fs);
        return;
    }
    case ftGIF: {
        std::vector<std::uint8_t> bytes;
        try {
            bytes = gif::EncodeBitmapAsGif(picture);
        } catch (const gif::GIFException& e) {
            throw win::Error(win::Widen(e.what()));
        }
        WriteFileSafely(name, bytes.data(), bytes.size(), existing, fs);
        return;
    }
    case ftPNG:
        CheckPngPicture(picture, alpha);
        WriteFileSafely(name, [&](ByteSink& sink) { WritePng(picture, alpha, sink); }, existing, fs);
        return;
    default:
        BmpFileSize(picture);  // refuses a picture the format cannot hold
        WriteFileSafely(name, [&](ByteSink& sink) { WriteBmp(picture, sink); }, existing, fs);
        return;
    }
}

}  // namespace output
