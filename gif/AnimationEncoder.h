// Writes a screen recording as an animated GIF, one frame as it comes.
//
// The first frame is written whole; every later one only as the rectangle
// that changed since the frame before, its unchanged pixels written as the
// palette's see-through index (frames are drawn over the previous one, so
// what stood still shows exactly as before). A frame with no change adds its
// time to the previous frame. The first frame's colours make the global
// palette; a later frame gets a palette of its own when the global one lacks
// its colours or when its own makes the frame smaller. No dithering: a colour
// maps to its nearest palette entry, the same in every frame.
//
// Delays are kept in centiseconds from the recording's start, each frame's
// the difference of its rounded start and the next one's, so they add up to
// the rounded length exactly and never drift.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/AnimationPalette.h"
#include "gif/ByteSink.h"

namespace gif {

// One picture of the recorded area: 32-bit pixels (0x00RRGGBB, the top byte
// ignored), rows from the top, stride in pixels.
struct AnimationFrameView {
    const std::uint32_t* pixels = nullptr;
    int stride = 0;
};

struct ChangedRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    bool Empty() const noexcept { return right <= left || bottom <= top; }
    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
};

class AnimationEncoder {
public:
    // The picture's size; sink receives the file. Every write failure throws
    // GIFException (from the sink's first failure).
    AnimationEncoder(ByteSink& sink, int width, int height);
    AnimationEncoder(const AnimationEncoder&) = delete;
    AnimationEncoder& operator=(const AnimationEncoder&) = delete;

    // A frame shown from timeUs (microseconds since the recording began, not
    // before the previous frame's).
    void AddFrame(const AnimationFrameView& frame, std::int64_t timeUs);
    // The recording ended at endUs: the last frame's delay and the trailer.
    void Finish(std::int64_t endUs);

    int FramesWritten() const noexcept { return framesWritten_; }

private:
    struct EncodedFrame {
        std::vector<std::uint8_t> bytes;  // descriptor, local table, image data
        bool transparent = false;  // uses its see-through index
        int see = 0;               // that index
    };

    void WriteHeader(const AnimationPalette& global);
    ChangedRect FindChange(const AnimationFrameView& frame) const;
    void EncodeChange(const AnimationFrameView& frame, const ChangedRect& rect);
    EncodedFrame EncodeWith(const AnimationPalette& palette, ColorIndex& index, bool local,
                            const AnimationFrameView& frame, const ChangedRect& rect);
    void Remember(const AnimationFrameView& frame, const ChangedRect& rect,
                  const AnimationPalette& palette);
    void WritePending(std::int64_t untilCs);
    void WriteFrame(const EncodedFrame& frame, int delayCs);

    ByteSink& sink_;
    int width_;
    int height_;
    AnimationPalette global_;
    std::vector<std::uint32_t> previous_;  // the last frame's source pixels
    std::vector<std::uint32_t> shown_;     // what a viewer shows after the last frame
    std::vector<std::uint8_t> indices_;    // scratch: one rectangle's indices
    std::vector<std::uint8_t> other_;      // scratch: each pixel's other index
    std::vector<std::uint8_t> chosen_;
    EncodedFrame pending_;  // encoded, waiting for its delay
    bool havePending_ = false;
    bool finished_ = false;
    std::int64_t pendingStartCs_ = 0;
    std::int64_t lastUs_ = 0;
    int framesWritten_ = 0;
};

// Centiseconds from microseconds, rounded to nearest.
constexpr std::int64_t Centiseconds(std::int64_t us) noexcept { return (us + 5000) / 10000; }

}  // namespace gif
