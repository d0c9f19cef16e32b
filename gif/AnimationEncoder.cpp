#include "gif/AnimationEncoder.h"

#include <algorithm>
#include <cstring>

#include "gif/GIFException.h"
#include "gif/GIFHeader.h"
#include "gif/LZWEncoder.h"

namespace gif {

namespace {

// Never equal to a masked colour: before the first frame every pixel differs.
constexpr std::uint32_t kNothing = 0xFF000000u;
constexpr int kLongestDelay = 65535;

void Put(ByteSink& sink, const std::uint8_t* bytes, std::size_t size)
{
    if (!sink.Write(bytes, size)) sink.ThrowIfFailed();
}

void PutTable(ByteSink& sink, const AnimationPalette& palette)
{
    for (const TGIFColor& c : palette.Table()) {
        const std::uint8_t rgb[3] = {c.red, c.green, c.blue};
        Put(sink, rgb, 3);
    }
}

// Image descriptor, local table when given, then the image data: each pixel
// as indices[i] or as other[i], whichever codes shorter.
void PutImage(ByteSink& sink, const ChangedRect& rect, const AnimationPalette* local,
              const std::uint8_t* indices, const std::uint8_t* other, int bits)
{
    std::uint8_t descriptor[10] = {0x2C};
    PutWord(descriptor + 1, static_cast<std::uint16_t>(rect.left));
    PutWord(descriptor + 3, static_cast<std::uint16_t>(rect.top));
    PutWord(descriptor + 5, static_cast<std::uint16_t>(rect.Width()));
    PutWord(descriptor + 7, static_cast<std::uint16_t>(rect.Height()));
    descriptor[9] = local ? static_cast<std::uint8_t>(0x80 | (bits - 1)) : 0;
    Put(sink, descriptor, sizeof descriptor);
    if (local) PutTable(sink, *local);
    TLZWEncoder(sink).EncodeChoosing(indices, other, rect.Width(), rect.Height(), bits, 1 << bits);
    sink.ThrowIfFailed();
}

}  // namespace

AnimationEncoder::AnimationEncoder(ByteSink& sink, int width, int height)
    : sink_(sink), width_(width), height_(height)
{
    if (width < 1 || height < 1 || width > 65535 || height > 65535)
        throw GIFException("The recorded area has no size a GIF can hold");
    const std::size_t count = static_cast<std::size_t>(width) * height;
    previous_.assign(count, kNothing);
    shown_.assign(count, kNothing);
}

void AnimationEncoder::WriteHeader(const AnimationPalette& global)
{
    global_ = global;
    std::uint8_t header[13] = {'G', 'I', 'F', '8', '9', 'a'};
    PutWord(header + 6, static_cast<std::uint16_t>(width_));
    PutWord(header + 8, static_cast<std::uint16_t>(height_));
    header[10] = static_cast<std::uint8_t>(0x80 | (global_.Bits() - 1) << 4 | (global_.Bits() - 1));
    Put(sink_, header, sizeof header);
    PutTable(sink_, global_);
    // Loop for ever.
    static const std::uint8_t loop[19] = {0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                                          'E',  '2',  '.', '0', 3,   1,   0,   0,   0};
    Put(sink_, loop, sizeof loop);
}

ChangedRect AnimationEncoder::FindChange(const AnimationFrameView& frame) const
{
    auto row = [&](int y) { return frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.stride; };
    auto same = [&](int y, int x) {
        return (row(y)[x] & kColorMask) == previous_[static_cast<std::size_t>(y) * width_ + x];
    };
    ChangedRect rect{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y) {
        // A row counts only when some pixel of it changed: rows below the
        // last change stay out of the rectangle.
        int x = 0;
        while (x < width_ && same(y, x)) ++x;
        if (x == width_) continue;
        rect.left = std::min(rect.left, x);
        rect.top = std::min(rect.top, y);
        rect.bottom = y + 1;
        int right = width_ - 1;
        while (right >= rect.right && same(y, right)) --right;
        rect.right = std::max(rect.right, right + 1);
    }
    return rect.Empty() ? ChangedRect{} : rect;
}

void AnimationEncoder::AddFrame(const AnimationFrameView& frame, std::int64_t timeUs)
{
    if (finished_) throw GIFException("The recording has already ended");
    timeUs = std::max(timeUs, lastUs_);
    lastUs_ = timeUs;
    const bool first = !havePending_;
    const ChangedRect rect = first ? ChangedRect{0, 0, width_, height_} : FindChange(frame);
    if (rect.Empty()) return;  // the previous frame shows longer
    if (havePending_) WritePending(Centiseconds(timeUs));
    EncodeChange(frame, rect);
    pendingStartCs_ = Centiseconds(timeUs);
    havePending_ = true;
}

void AnimationEncoder::EncodeChange(const AnimationFrameView& frame, const ChangedRect& rect)
{
    const bool first = !havePending_;
    ColorSet changed;
    std::vector<std::uint32_t> all;  // every changed pixel, once the set overflowed
    auto eachChange = [&](auto&& take) {
        for (int y = rect.top; y < rect.bottom; ++y) {
            const std::uint32_t* source = frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.stride;
            const std::uint32_t* before = &previous_[static_cast<std::size_t>(y) * width_];
            for (int x = rect.left; x < rect.right; ++x)
                if ((source[x] & kColorMask) != before[x] && !take(source[x] & kColorMask)) return;
        }
    };
    eachChange([&](std::uint32_t color) { return changed.Add(color); });
    if (changed.Overflowed()) eachChange([&](std::uint32_t color) { return all.push_back(color), true; });
    const auto exact = [&] { return AnimationPalette{changed.Colors()}; };
    const auto reduced = [&] { return ReducedPalette(all, kMaxAnimationColors); };

    if (first) WriteHeader(changed.Overflowed() ? reduced() : exact());
    ColorIndex globalIndex(global_);
    const bool inGlobal = std::all_of(changed.Colors().begin(), changed.Colors().end(),
                                      [&](std::uint32_t c) { return globalIndex.Contains(c); });
    if (first || (inGlobal && !changed.Overflowed())) {
        pending_ = EncodeWith(global_, globalIndex, false, frame, rect);
        const AnimationPalette own = exact();
        if (!first && own.TableSize() * 2 <= global_.TableSize()) {
            std::swap(indices_, chosen_);
            ColorIndex ownIndex(own);
            EncodedFrame smaller = EncodeWith(own, ownIndex, true, frame, rect);
            if (smaller.bytes.size() < pending_.bytes.size()) {
                pending_ = std::move(smaller);
                Remember(frame, rect, own);
                return;
            }
            std::swap(indices_, chosen_);
        }
        Remember(frame, rect, global_);
        return;
    }
    const AnimationPalette own = changed.Overflowed() ? reduced() : exact();
    ColorIndex ownIndex(own);
    pending_ = EncodeWith(own, ownIndex, true, frame, rect);
    Remember(frame, rect, own);
}

AnimationEncoder::EncodedFrame AnimationEncoder::EncodeWith(const AnimationPalette& palette,
                                                            ColorIndex& index, bool local,
                                                            const AnimationFrameView& frame,
                                                            const ChangedRect& rect)
{
    const auto see = static_cast<std::uint8_t>(palette.Transparent());
    EncodedFrame encoded{{}, false, palette.Transparent()};
    const std::size_t count = static_cast<std::size_t>(rect.Width()) * rect.Height();
    indices_.resize(count);
    other_.resize(count);
    std::uint8_t* out = indices_.data();
    std::uint8_t* alternative = other_.data();
    std::uint8_t last = see;
    // The index of the colour showing, when the palette holds it exactly
    // (the last answer kept: still areas repeat one colour).
    std::uint32_t lastShown = kNothing;
    std::uint8_t lastShownIndex = see;
    auto shownIndex = [&](std::uint32_t shown) {
        if (shown != lastShown) {
            lastShown = shown;
            lastShownIndex = index.Contains(shown) ? index.Index(shown) : see;
        }
        return lastShownIndex;
    };
    for (int y = rect.top; y < rect.bottom; ++y) {
        const std::uint32_t* source = frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.stride;
        const std::size_t at = static_cast<std::size_t>(y) * width_;
        for (int x = rect.left; x < rect.right; ++x) {
            const std::uint32_t color = source[x] & kColorMask;
            std::uint8_t i = see;
            // Still pixels, and changed ones whose colour already shows, may
            // stay as they are: see-through, or the index of the colour
            // showing. The guess continues the run; the coder takes the
            // other where that makes its string longer.
            if (color != previous_[at + x]) {
                i = index.Index(color);
                if (palette.colors[i] != shown_[at + x]) {
                    *out++ = *alternative++ = last = i;
                    continue;
                }
                i = see;
            }
            if (last != see && palette.colors[last] == shown_[at + x]) i = last;
            *alternative++ = i == see ? shownIndex(shown_[at + x]) : see;
            encoded.transparent = true;
            *out++ = last = i;
        }
    }
    MemorySink sink(encoded.bytes);
    PutImage(sink, rect, local ? &palette : nullptr, indices_.data(), other_.data(), palette.Bits());
    return encoded;
}

void AnimationEncoder::Remember(const AnimationFrameView& frame, const ChangedRect& rect,
                                const AnimationPalette& palette)
{
    const std::uint8_t* in = indices_.data();
    const int see = palette.Transparent();
    for (int y = rect.top; y < rect.bottom; ++y) {
        const std::uint32_t* source = frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.stride;
        const std::size_t at = static_cast<std::size_t>(y) * width_;
        for (int x = rect.left; x < rect.right; ++x, ++in) {
            previous_[at + x] = source[x] & kColorMask;
            if (*in != see) shown_[at + x] = palette.colors[*in];
        }
    }
}

void AnimationEncoder::WritePending(std::int64_t untilCs)
{
    std::int64_t delay = untilCs - pendingStartCs_;
    while (delay > kLongestDelay) {
        // Longer than one delay can say: the rest as a frame that changes nothing.
        WriteFrame(pending_, kLongestDelay);
        delay -= kLongestDelay;
        pending_ = EncodedFrame{{}, true, global_.Transparent()};
        const auto see = static_cast<std::uint8_t>(pending_.see);
        MemorySink sink(pending_.bytes);
        PutImage(sink, ChangedRect{0, 0, 1, 1}, nullptr, &see, &see, global_.Bits());
    }
    WriteFrame(pending_, static_cast<int>(delay));
}

void AnimationEncoder::WriteFrame(const EncodedFrame& frame, int delayCs)
{
    // Graphic control: leave the frame in place, its delay, the see-through index.
    std::uint8_t control[8] = {0x21, 0xF9, 4, static_cast<std::uint8_t>(1 << 2)};
    if (frame.transparent) control[3] |= 1;
    PutWord(control + 4, static_cast<std::uint16_t>(delayCs));
    control[6] = static_cast<std::uint8_t>(frame.see);
    Put(sink_, control, sizeof control);
    Put(sink_, frame.bytes.data(), frame.bytes.size());
    ++framesWritten_;
}

void AnimationEncoder::Finish(std::int64_t endUs)
{
    if (finished_) return;
    if (!havePending_) throw GIFException("No frames were recorded");
    WritePending(Centiseconds(std::max(endUs, lastUs_)));
    Put(sink_, reinterpret_cast<const std::uint8_t*>("\x3B"), 1);
    finished_ = true;
}

}  // namespace gif
