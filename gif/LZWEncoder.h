// The image-data encoder: the LZW code size byte, the codes in data
// sub-blocks, the block terminator.
//
// Code widths follow the format's rules exactly: a code is written at the
// width in force, the width grows once the next free code no longer fits, it
// never passes 12 bits, and the table is cleared (clear code, at the width in
// force) at the first miss after code 4094 was assigned. The largest code ever
// assigned is therefore 4094.
#pragma once

#include <array>
#include <cstdint>

#include "gif/BitPacker.h"
#include "gif/ByteSink.h"
#include "gif/GIFWriter.h"
#include "gif/HashTable.h"

namespace gif {

class TLZWEncoder {
public:
    static constexpr int kMaxWidth = 12;
    static constexpr int kTableLimit = 4095;  // codes are assigned below this

    explicit TLZWEncoder(ByteSink& sink) : sink_(sink) {}
    TLZWEncoder(const TLZWEncoder&) = delete;
    TLZWEncoder& operator=(const TLZWEncoder&) = delete;

    // Encodes width x height pixel indices (rows from the top). Every index must
    // be below colors; bitsPerPixel is the colour table's bit size. Interlaced
    // row order is not built and is refused.
    void Encode(const std::uint8_t* pixels, int width, int height, bool interlaced,
                int bitsPerPixel, int colors);

    // Encodes pixels that may each be written as either of two indices,
    // wanted[i] or other[i] (the same index where there is no choice): up to
    // 16 strings are followed at once, each extended by whichever index keeps
    // it in the table, and the longest is written. The picture decoded shows
    // one of the two at every pixel. Here a full table is not cleared at once
    // but kept while it codes as well as it did while filling (the clear
    // then comes later, at the width in force).
    void EncodeChoosing(const std::uint8_t* wanted, const std::uint8_t* other, int width, int height,
                        int bitsPerPixel, int colors);

private:
    template <class Body>
    void EncodeWith(int bitsPerPixel, int colors, Body&& body);
    void Compress(const std::uint8_t* pixels, std::int64_t count, BitPacker& packer);
    void CompressChoosing(const std::uint8_t* wanted, const std::uint8_t* other, std::int64_t count,
                          BitPacker& packer);
    void Restart(BitPacker& packer);
    // The code for prefix extended by pixel, or THashTable::kNotFound.
    int Child(std::uint32_t prefix, std::uint32_t pixel);
    void Output(BitPacker& packer, int code);

    void ForgetChildren() noexcept
    {
        lastChild_.fill(kNoChild);
        earlierChild_.fill(kNoChild);
    }

    static constexpr std::uint32_t kNoChild = 0xFFFFFFFFu;

    ByteSink& sink_;
    THashTable table_;
    // A cache in front of the table: per prefix code, the last (pixel, code)
    // pair found or stored for it, as pixel << 16 | code. Every pair in it is
    // also in the table, so the codes written are exactly the table's; it only
    // spares the hash on runs, where the same extension repeats. Each lookup
    // depends on the one before, so the saved hash arithmetic is the time.
    // (The choosing coder also keeps there the one entry it has yet to store;
    // see CompressChoosing.)
    std::array<std::uint32_t, 4096> lastChild_;
    // The choosing coder's second way: the child found before the last one.
    std::array<std::uint32_t, 4096> earlierChild_;
    int initialWidth_ = 0;
    int width_ = 0;
    int maxCode_ = 0;  // largest code for the current width
    int clearCode_ = 0;
    int endCode_ = 0;
    int firstFree_ = 0;
    int nextFree_ = 0;
    int colors_ = 0;
    bool clearPending_ = false;
};

}  // namespace gif
