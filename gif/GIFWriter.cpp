#include "gif/GIFWriter.h"

namespace gif {

void TGIFWriter::FlushBlock()
{
    buffer_[0] = static_cast<std::uint8_t>(kBlockBytes);
    // Stop at the first failed write rather than encode the rest for nothing.
    if (!sink_.Write(buffer_.data(), buffer_.size())) sink_.ThrowIfFailed();
    position_ = 1;
    dirty_ = false;
}

void TGIFWriter::Close()
{
    if (!dirty_) return;
    buffer_[0] = static_cast<std::uint8_t>(position_ - 1);
    if (!sink_.Write(buffer_.data(), static_cast<std::size_t>(position_))) sink_.ThrowIfFailed();
    position_ = 1;
    dirty_ = false;
}

}  // namespace gif
