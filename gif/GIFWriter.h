// Cuts a byte stream into data sub-blocks: a length byte, then up to 255
// bytes. Full blocks go to the sink in one write of 256 bytes; Close() writes
// the last, shorter block, and nothing when the stream ended on a block edge
// (a zero-length block would read as the terminator).
#pragma once

#include <array>
#include <cstdint>

#include "gif/ByteSink.h"

namespace gif {

class TGIFWriter {
public:
    static constexpr int kBlockBytes = 255;

    explicit TGIFWriter(ByteSink& sink) : sink_(sink) {}
    TGIFWriter(const TGIFWriter&) = delete;
    TGIFWriter& operator=(const TGIFWriter&) = delete;

    void WriteByte(std::uint8_t byte)
    {
        buffer_[position_++] = byte;
        dirty_ = true;
        if (position_ > kBlockBytes) FlushBlock();
    }

    void Close();

private:
    void FlushBlock();

    ByteSink& sink_;
    std::array<std::uint8_t, kBlockBytes + 1> buffer_{};
    int position_ = 1;  // byte 0 is the block's length
    bool dirty_ = false;
};

}  // namespace gif
