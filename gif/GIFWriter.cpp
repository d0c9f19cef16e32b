#include "gif/GIFWriter.h"

namespace gif {

void TGIFWriter::FlushBlock()
{
    buffer_[0] = static_cast<std::uint8_t>(kBlockBytes);
    sink_.Write(buffer_.data(), buffer_.size());
    position_ = 1;
    dirty_ = false;
}

void TGIFWriter::Close()
{
    if (!dirty_) return;
    buffer_[0] = static_cast<std::uint8_t>(position_ - 1);
    sink_.Write(buffer_.data(), static_cast<std::size_t>(position_));
    position_ = 1;
    dirty_ = false;
}

}  // namespace gif
