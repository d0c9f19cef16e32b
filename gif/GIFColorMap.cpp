#include "gif/GIFColorMap.h"

#include "gif/GIFException.h"

namespace gif {

void TGIFColorMap::Add(const TGIFColor& color)
{
    if (count_ >= kMaxColors) throw GIFException("Color table overflow");
    entries_[count_++] = color;
}

void TGIFColorMap::Clear() noexcept
{
    count_ = 0;
    sorted_ = false;
}

int TGIFColorMap::BitSize() const noexcept
{
    if (count_ == 0) return 0;
    int bits = 1;
    while ((1 << bits) < count_) ++bits;
    return bits;
}

void TGIFColorMap::WriteTo(ByteSink& sink) const
{
    if (count_ == 0) return;
    std::array<std::uint8_t, kMaxColors * 3> bytes{};  // padding stays black
    for (int i = 0; i < count_; ++i) {
        bytes[i * 3] = entries_[i].red;
        bytes[i * 3 + 1] = entries_[i].green;
        bytes[i * 3 + 2] = entries_[i].blue;
    }
    sink.Write(bytes.data(), static_cast<std::size_t>(3) << BitSize());
}

}  // namespace gif
