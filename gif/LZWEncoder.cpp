#include "gif/LZWEncoder.h"

#include "gif/GIFException.h"

namespace gif {

namespace {

// The strings followed at once while pixels offer a choice; past this many
// the later ones are dropped (each still covers the same pixels).
constexpr int kAlive = 16;

// When the choosing coder clears a full table. While the table fills, the
// bits written per pixel are counted; once full, the table is kept as it is
// (no new entries) for as long as its codes cost no more than 1.2 times that
// per pixel, judged over windows of 256 codes. Screen frames repeat what the
// table already holds, where starting again would only relearn it.
class ClearPolicy {
public:
    void Filling(int width, std::int64_t pixels) noexcept { fillBits_ += width, fillPixels_ += pixels; }
    // A 12-bit code from the full table covered pixels: true when the table
    // should be cleared now.
    bool ClearNow(std::int64_t pixels) noexcept
    {
        windowPixels_ += pixels;
        if (++windowCodes_ < kWindow) return false;
        const bool worse = windowCodes_ * 12 * fillPixels_ * 10 > fillBits_ * windowPixels_ * 12;
        windowCodes_ = windowPixels_ = 0;
        return worse;
    }

private:
    static constexpr std::int64_t kWindow = 256;
    std::int64_t fillBits_ = 0, fillPixels_ = 0, windowCodes_ = 0, windowPixels_ = 0;
};

}  // namespace

template <class Body>
void TLZWEncoder::EncodeWith(int bitsPerPixel, int colors, Body&& body)
{
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
    body(packer);
    Output(packer, endCode_);
    blocks.Close();
    sink_.Put(0);  // block terminator
}

void TLZWEncoder::Encode(const std::uint8_t* pixels, int width, int height, bool interlaced,
                         int bitsPerPixel, int colors)
{
    if (interlaced) throw GIFException("Interlaced GIF images are not supported");
    EncodeWith(bitsPerPixel, colors, [&](BitPacker& packer) {
        if (pixels && width > 0 && height > 0)
            Compress(pixels, static_cast<std::int64_t>(width) * height, packer);
    });
}

void TLZWEncoder::EncodeChoosing(const std::uint8_t* wanted, const std::uint8_t* other, int width,
                                 int height, int bitsPerPixel, int colors)
{
    EncodeWith(bitsPerPixel, colors, [&](BitPacker& packer) {
        if (wanted && other && width > 0 && height > 0)
            CompressChoosing(wanted, other, static_cast<std::int64_t>(width) * height, packer);
    });
}

void TLZWEncoder::Restart(BitPacker& packer)
{
    clearPending_ = true;
    Output(packer, clearCode_);
    table_.Clear();
    ForgetChildren();
    nextFree_ = firstFree_;
}

int TLZWEncoder::Child(std::uint32_t prefix, std::uint32_t pixel)
{
    const std::uint32_t child = lastChild_[prefix];
    if ((child >> 16) == pixel) return static_cast<int>(child & 0xFFFF);
    const std::uint32_t earlier = earlierChild_[prefix];
    if ((earlier >> 16) == pixel) return static_cast<int>(earlier & 0xFFFF);
    const int code = table_.Lookup((prefix << 8) | pixel);
    if (code != THashTable::kNotFound) {
        earlierChild_[prefix] = child;
        lastChild_[prefix] = (pixel << 16) | static_cast<std::uint32_t>(code);
    }
    return code;
}

void TLZWEncoder::CompressChoosing(const std::uint8_t* wanted, const std::uint8_t* other,
                                   std::int64_t count, BitPacker& packer)
{
    const unsigned colors = static_cast<unsigned>(colors_);
    for (std::int64_t i = 0; i < count; ++i)
        if (wanted[i] >= colors || other[i] >= colors) throw GIFException("Color not in color table");
    Restart(packer);
    // The strings followed, each as code | first pixel << 16. The entry a
    // written code makes is that code plus the first pixel of the next one,
    // stored once the next is written. Meanwhile the cache holds it as the
    // code plus its own first pixel: only strings with that first pixel can
    // pass through the code, and for them that is what it will be.
    std::array<std::uint32_t, kAlive> strings{}, extended{};
    std::uint32_t* alive = strings.data();
    std::uint32_t* next = extended.data();
    int live = 0;
    std::uint32_t pendingPrefix = 0;
    int pendingCode = -1;
    auto store = [&](std::uint32_t first) {
        if (pendingCode < 0) return;
        table_.Insert((pendingPrefix << 8) | first, pendingCode);
        // The code's stand-in may have moved to the second way: it goes.
        if ((earlierChild_[pendingPrefix] & 0xFFFF) == static_cast<std::uint32_t>(pendingCode))
            earlierChild_[pendingPrefix] = kNoChild;
        lastChild_[pendingPrefix] = (first << 16) | static_cast<std::uint32_t>(pendingCode);
        pendingCode = -1;
    };
    // Where the next string has no choice of its first pixel, the entry is
    // stored at once, as the plain coder does.
    auto start = [&](std::int64_t at) {
        alive[0] = wanted[at] | std::uint32_t{wanted[at]} << 16;
        alive[1] = other[at] | std::uint32_t{other[at]} << 16;
        live = other[at] == wanted[at] ? 1 : 2;
        if (live == 1) store(wanted[at]);
    };
    ClearPolicy policy;
    std::int64_t begun = 0;  // where the string being matched starts
    start(0);
    for (std::int64_t at = 1; at < count; ++at) {
        int found = 0;
        for (int k = 0; k < live && found < kAlive; ++k) {
            const std::uint32_t root = alive[k] & 0xFFFF0000u;
            const int a = Child(alive[k] & 0xFFFF, wanted[at]);
            if (a >= 0) next[found++] = root | static_cast<std::uint32_t>(a);
            if (other[at] == wanted[at] || found == kAlive) continue;
            const int b = Child(alive[k] & 0xFFFF, other[at]);
            if (b >= 0) next[found++] = root | static_cast<std::uint32_t>(b);
        }
        if (found) {
            std::swap(alive, next);
            live = found;
            continue;
        }
        // No string goes on: write the first, and the next string starts here.
        const std::uint32_t prefix = alive[0] & 0xFFFF, first = alive[0] >> 16;
        store(first);
        const int width = width_;
        Output(packer, static_cast<int>(prefix));
        if (nextFree_ < kTableLimit) {
            pendingPrefix = prefix;
            pendingCode = nextFree_++;
            lastChild_[prefix] = (first << 16) | static_cast<std::uint32_t>(pendingCode);
            policy.Filling(width, at - begun);
        } else if (policy.ClearNow(at - begun)) {
            Restart(packer);
            policy = ClearPolicy{};
        }
        begun = at;
        start(at);
    }
    Output(packer, static_cast<int>(alive[0] & 0xFFFF));
}

void TLZWEncoder::Compress(const std::uint8_t* pixels, std::int64_t count, BitPacker& packer)
{
    Restart(packer);

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
            Restart(packer);
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
