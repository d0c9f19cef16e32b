#include "gif/GIFImage.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "gif/GIFException.h"

namespace gif {

void CheckGIFDimensions(int width, int height)
{
    if (width > kMaxGIFDimension || height > kMaxGIFDimension)
        throw GIFException("The picture is " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels; a GIF file holds at most " +
                           std::to_string(kMaxGIFDimension) + " x " +
                           std::to_string(kMaxGIFDimension) + " pixels");
    if (width < 0 || height < 0) throw GIFException("Invalid image dimensions");
}

TGIFImage::TGIFImage()
    : reductionMethod_(GIFDefaultReductionMethod),
      reductionBits_(GIFDefaultReductionBits),
      ditherKind_(GIFDefaultDitherKind),
      compressionKind_(GIFDefaultCompressionKind)
{
    header_.Clear();
}

TGIFImage::~TGIFImage() = default;

void TGIFImage::Clear() noexcept
{
    images_.clear();
    header_.Clear();
}

void TGIFImage::GrowScreen(int right, int bottom) noexcept
{
    if (header_.ScreenWidth() < right) header_.SetScreenWidth(right);
    if (header_.ScreenHeight() < bottom) header_.SetScreenHeight(bottom);
}

void TGIFImage::Assign(const PixelRows& source)
{
    CheckGIFDimensions(source.width, source.height);
    Clear();
    auto image = std::make_unique<TGIFSubImage>(*this);
    image->Assign(source);
    images_.push_back(std::move(image));
}

TGIFVersion TGIFImage::Version() const noexcept
{
    TGIFVersion version = TGIFVersion::gvUnknown;
    for (const auto& image : images_) {
        version = std::max(version, image->Version());
        if (version == TGIFVersion::gv89a) break;
    }
    return version;
}

int TGIFImage::BitsPerPixel() const noexcept
{
    int bits = header_.ColorMap().BitSize();
    for (const auto& image : images_) bits = std::max(bits, image->ColorMap().BitSize());
    return bits;
}

void TGIFImage::RecomputeScreenPacked() noexcept
{
    const TGIFGlobalColorMap& global = header_.ColorMap();
    // Empty tables count as bit size 0, so with no table at all both fields
    // come out as 7 (-1 masked): that is what files of this writer carry.
    int resolution = global.BitSize() - 1;
    for (const auto& image : images_) resolution = std::max(resolution, image->ColorMap().BitSize() - 1);
    int packed = (resolution * 16) & 0x70;
    packed |= (BitsPerPixel() - 1) & 7;
    if (!global.Empty()) {
        packed |= 0x80;
        if (global.Sorted()) packed |= 0x08;
    }
    header_.SetPacked(static_cast<std::uint8_t>(packed));
}

void TGIFImage::CheckSavable() const
{
    if (Version() == TGIFVersion::gvUnknown) throw GIFException("Unsupported GIF version");
    if (compressionKind_ != cmpLZW)
        throw GIFException("Only LZW compression is available for GIF image data");
}

void TGIFImage::SaveToStream(ByteSink& sink)
{
    CheckSavable();
    const TGIFVersion version = Version();
    RecomputeScreenPacked();
    header_.WriteTo(sink, version);
    sink.ThrowIfFailed();
    for (const auto& image : images_) {
        image->WriteTo(sink);
        sink.ThrowIfFailed();
    }
    trailer_.WriteTo(sink);
    sink.ThrowIfFailed();
}

void TGIFImage::SaveToFile(const std::filesystem::path& path)
{
    CheckSavable();  // before the file is created
    bool created = false;
    try {
        FileSink file(path);
        file.ThrowIfFailed();
        created = true;
        SaveToStream(file);
        file.Close();
        file.ThrowIfFailed();
    } catch (...) {
        if (created) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
        throw;
    }
}

}  // namespace gif
