// Packs variable-width codes least significant bit first, as the format
// requires, and hands whole bytes to the sub-block writer.
#pragma once

#include <cstdint>

#include "gif/GIFWriter.h"

namespace gif {

class BitPacker {
public:
    explicit BitPacker(TGIFWriter& out) : out_(out) {}

    // Appends the low width bits of code (width at most 24).
    void Put(std::uint32_t code, int width)
    {
        accumulator_ = fill_ > 0 ? accumulator_ | (code << fill_) : code;
        fill_ += width;
        while (fill_ >= 8) {
            out_.WriteByte(static_cast<std::uint8_t>(accumulator_));
            accumulator_ >>= 8;
            fill_ -= 8;
        }
    }

    // Sends the pending bits as one last byte, its high bits zero.
    void Flush()
    {
        if (fill_ > 0) out_.WriteByte(static_cast<std::uint8_t>(accumulator_));
        accumulator_ = 0;
        fill_ = 0;
    }

    int PendingBits() const noexcept { return fill_; }

private:
    TGIFWriter& out_;
    std::uint32_t accumulator_ = 0;
    int fill_ = 0;
};

}  // namespace gif
