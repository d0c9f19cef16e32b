#include "output/PngFile.h"

#include <string>

#include "output/PngEncoder.h"
#include "win/Error.h"
#include "win/Strings.h"

namespace output {

namespace {

class ByteSinkAdapter final : public PngSink {
public:
    explicit ByteSinkAdapter(ByteSink& sink) : sink_(sink) {}
    // Called from inside libpng: nothing may be thrown through its C frames.
    bool Write(const std::uint8_t* data, std::size_t size) noexcept override
    {
        try {
            return sink_.Write(data, size);
        } catch (...) {
            outOfMemory_ = true;
            return false;
        }
    }
    bool OutOfMemory() const noexcept { return outOfMemory_; }

private:
    ByteSink& sink_;
    bool outOfMemory_ = false;
};

PngSource SourceOf(const win::Bitmap& picture, const win::AlphaMask& alpha)
{
    ::GdiFlush();  // drawing on the canvas may still be batched
    PngSource source;
    source.top = picture.Row(0);
    source.stride = picture.Stride();
    source.width = picture.Width();
    source.height = picture.Height();
    source.bytesPerPixel = picture.BitsPerPixel() / 8;
    if (!alpha.Empty()) {
        source.alpha = alpha.Row(0);
        source.alphaStride = alpha.Width();
    }
    return source;
}

}  // namespace

void CheckPngPicture(const win::Bitmap& picture, const win::AlphaMask& alpha)
{
    if (picture.Empty()) throw win::Error(L"There is no picture to save");
    if (picture.Width() > kMaxPngDimension || picture.Height() > kMaxPngDimension)
        throw win::Error(L"The picture is too large for a PNG file: its width and height can be at most " +
                         std::to_wstring(kMaxPngDimension) + L" pixels");
    const int bits = picture.BitsPerPixel();
    if (bits != 24 && bits != 32) throw win::Error(L"The picture's colour depth cannot be saved as PNG");
    // A mask of another picture would put the see-through part in the wrong place.
    if (!alpha.Empty() && (alpha.Width() != picture.Width() || alpha.Height() != picture.Height()))
        throw win::Error(L"The picture's transparent area does not match the picture");
}

void WritePng(const win::Bitmap& picture, const win::AlphaMask& alpha, ByteSink& sink)
{
    CheckPngPicture(picture, alpha);
    ByteSinkAdapter adapter(sink);
    std::string error;
    if (EncodePng(SourceOf(picture, alpha), adapter, error) || sink.Failed()) return;
    if (adapter.OutOfMemory()) win::ThrowOutOfResources();
    throw win::Error(win::Widen(error));
}

std::vector<std::uint8_t> EncodePngBytes(const win::Bitmap& picture, const win::AlphaMask& alpha)
{
    std::vector<std::uint8_t> bytes;
    MemorySink sink(bytes);
    WritePng(picture, alpha, sink);
    if (sink.Failed()) win::ThrowOutOfResources();
    return bytes;
}

}  // namespace output
