#include "gif/GIFHeader.h"

#include "gif/GIFException.h"

namespace gif {

void TGIFHeader::Clear() noexcept
{
    screenWidth_ = screenHeight_ = 0;
    packed_ = background_ = aspectRatio_ = 0;
    colorMap_.Clear();
}

void TGIFHeader::WriteTo(ByteSink& sink, TGIFVersion version) const
{
    if (version == TGIFVersion::gvUnknown) throw GIFException("Unsupported GIF version");
    std::uint8_t bytes[13] = {'G', 'I', 'F', '8', 0, 'a'};
    bytes[4] = version == TGIFVersion::gv89a ? '9' : '7';
    PutWord(bytes + 6, screenWidth_);
    PutWord(bytes + 8, screenHeight_);
    bytes[10] = packed_;
    bytes[11] = background_;
    bytes[12] = aspectRatio_;
    sink.Write(bytes, sizeof bytes);
    if (packed_ & 0x80) colorMap_.WriteTo(sink);
}

}  // namespace gif
