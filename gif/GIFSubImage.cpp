#include "gif/GIFSubImage.h"

#include <cstring>
#include <new>

#include "gif/ColorReduction.h"
#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "gif/LZWEncoder.h"

namespace gif {

void TGIFSubImage::SetWidth(int width)
{
    CheckGIFDimensions(width, height_);
    if (width == width_) return;
    width_ = static_cast<std::uint16_t>(width);
    Reallocate();
}

void TGIFSubImage::SetHeight(int height)
{
    CheckGIFDimensions(width_, height);
    if (height == height_) return;
    height_ = static_cast<std::uint16_t>(height);
    Reallocate();
}

void TGIFSubImage::Reallocate()
{
    const std::size_t size = static_cast<std::size_t>(width_) * height_;
    try {
        std::vector<std::uint8_t> fresh(size, 0);
        data_.swap(fresh);
    } catch (const std::bad_alloc&) {
        throw GIFException("Not enough memory for the GIF image");
    }
    owner_.GrowScreen(left_ + width_, top_ + height_);
}

TGIFVersion TGIFSubImage::Version() const noexcept
{
    return colorMap_.Sorted() ? TGIFVersion::gv89a : TGIFVersion::gv87a;
}

void TGIFSubImage::Assign(const PixelRows& source)
{
    if (source.Empty()) return;
    SetWidth(source.width);
    SetHeight(source.height);

    const IndexedBitmap reduced =
        ReduceColorDepth(source, owner_.ReductionMethod(), owner_.DitherKind(),
                         owner_.ReductionBits(), nullptr);

    colorMap_.Clear();
    for (const TRGBQuad& quad : reduced.colorTable) colorMap_.Add({quad.red, quad.green, quad.blue});
    for (int y = 0; y < height_; ++y)
        std::memcpy(data_.data() + static_cast<std::size_t>(y) * width_, reduced.Row(y), width_);
}

void TGIFSubImage::RecomputePacked() noexcept
{
    if (colorMap_.Empty()) {
        packed_ &= 0x58;  // no table: keep only the interlace and reserved bits
        return;
    }
    packed_ = static_cast<std::uint8_t>(0x80 | (colorMap_.Sorted() ? 0x20 : 0) |
                                        ((colorMap_.BitSize() - 1) & 7));
}

void TGIFSubImage::WriteTo(ByteSink& sink)
{
    if (Empty()) return;
    RecomputePacked();
    std::uint8_t descriptor[10] = {kSeparator};
    PutWord(descriptor + 1, left_);
    PutWord(descriptor + 3, top_);
    PutWord(descriptor + 5, width_);
    PutWord(descriptor + 7, height_);
    descriptor[9] = packed_;
    sink.Write(descriptor, sizeof descriptor);
    colorMap_.WriteTo(sink);

    int bits = colorMap_.BitSize();
    int colors = colorMap_.Count();
    if (colorMap_.Empty()) {
        bits = owner_.BitsPerPixel();
        colors = 1 << (bits > 0 ? bits : 0);
    }
    TLZWEncoder encoder(sink);
    encoder.Encode(data_.data(), width_, height_, Interlaced(), bits, colors);
}

}  // namespace gif
