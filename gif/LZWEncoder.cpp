#include "gif/LZWEncoder.h"

#include "gif/GIFException.h"

namespace gif {

void TLZWEncoder::Encode(const std::uint8_t* pixels, int width, int height, bool interlaced,
                         int bitsPerPixel, int colors)
{
    if (interlaced) throw GIFException("Interlaced GIF images are not supported");
    const int minCodeSize = bitsPerPixel < 2 ? 2 : bitsPerPixel;
    if (minCodeSize > 8) throw GIFException("Unsupported GIF bit depth");
    sink_.Put(static_cast<std::uint8_t>(minCodeSize));

    initialWidth_ = minCodeSize + 1;
    width_ = initialWidth_;
    maxCode_ = (1 << width_) - 1;
    clearCode_ = 1 << minCodeSize;
    endCode_ = clearCode_ + 1;
    firstFree_ = clearCode_ + 2;
    nextFree_ = firstFree_;
    colors_ = colors;
    clearPending_ = false;

    TGIFWriter blocks(sink_);
    BitPacker packer(blocks);
    if (pixels && width > 0 && height > 0)
        Compress(pixels, static_cast<std::int64_t>(width) * height, packer);
    Output(packer, endCode_);
    blocks.Close();
    sink_.Put(0);  // block terminator
}

void TLZWEncoder::Compress(const std::uint8_t* pixels, std::int64_t count, BitPacker& packer)
{
    clearPending_ = true;
    Output(packer, clearCode_);
    table_.Clear();
    ForgetChildren();
    nextFree_ = firstFree_;

    const std::uint8_t* end = pixels + count;
    const unsigned colors = static_cast<unsigned>(colors_);
    if (*pixels >= colors) throw GIFException("Color not in color table");
    std::uint32_t prefix = *pixels++;
    while (pixels != end) {
        const std::uint32_t pixel = *pixels++;
        if (pixel >= colors) throw GIFException("Color not in color table");
        const std::uint32_t child = lastChild_[prefix];
        if ((child >> 16) == pixel) {
            prefix = child & 0xFFFF;
            continue;
        }
        const std::uint32_t key = (prefix << 8) | pixel;
        int emptySlot;
        const int code = table_.Find(key, emptySlot);
        if (code != THashTable::kNotFound) {
            lastChild_[prefix] = (pixel << 16) | static_cast<std::uint32_t>(code);
            prefix = static_cast<std::uint32_t>(code);
            continue;
        }
        Output(packer, static_cast<int>(prefix));
        if (nextFree_ < kTableLimit) {
            table_.StoreAt(emptySlot, key, nextFree_);
            lastChild_[prefix] = (pixel << 16) | static_cast<std::uint32_t>(nextFree_);
            ++nextFree_;
        } else {
            clearPending_ = true;
            Output(packer, clearCode_);
            table_.Clear();
            ForgetChildren();
            nextFree_ = firstFree_;
        }
        prefix = pixel;
    }
    Output(packer, static_cast<int>(prefix));
}

void TLZWEncoder::Output(BitPacker& packer, int code)
{
    packer.Put(static_cast<std::uint32_t>(code), width_);
    if (code == endCode_) packer.Flush();

    if (clearPending_) {
        width_ = initialWidth_;
        maxCode_ = (1 << width_) - 1;
        clearPending_ = false;
    } else if (nextFree_ > maxCode_) {
        ++width_;
        // At 12 bits the limit moves past every code, so the width stays.
        maxCode_ = width_ == kMaxWidth ? 4096 : (1 << width_) - 1;
    }
}

}  // namespace gif
