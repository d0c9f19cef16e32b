// Recordings through the animation encoder (on its worker thread), read back
// by giflib and played as a viewer would: the frames at their times against
// the source frames, the delays against the recording's length.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "FailingSink.h"
#include "GiflibDecode.h"
#include "gif/AnimationStream.h"
#include "gif/GIFException.h"

namespace {

using Pixels = std::vector<std::uint32_t>;
using Scene = std::function<void(int frame, int width, int height, Pixels& out)>;

constexpr std::uint32_t kLimeGreen = 0x32CD32;  // (50, 205, 50)

// A window: grey face, a lime-green panel, a caret blinking every 8 frames, a
// box moving right, and the same frame kept for frames 40 to 59.
void Desktop(int frame, int width, int height, Pixels& out)
{
    const int f = frame >= 40 && frame < 60 ? 40 : frame;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t c = 0xD4D0C8;
            if (x < width / 3 && y < height / 2) c = kLimeGreen;
            if (x == width / 2 && y > 4 && y < 14 && (f / 8) % 2 == 0) c = 0x000000;
            if (y >= height - 10 && x >= f % width && x < f % width + 8) c = 0x0000FF;
            out[static_cast<std::size_t>(y) * width + x] = c;
        }
}

// A photo of far more than 255 colours, whose lower half scrolls by a row each frame.
void Photo(int frame, int width, int height, Pixels& out)
{
    for (int y = 0; y < height; ++y) {
        const int v = y < height / 2 ? y : y + frame;
        for (int x = 0; x < width; ++x)
            out[static_cast<std::size_t>(y) * width + x] =
                static_cast<std::uint32_t>((x * 7 + v * 3) & 255) << 16 |
                static_cast<std::uint32_t>((x * v) & 255) << 8 | ((x ^ v) & 255);
    }
}

// The window with spots anywhere: each frame's spots stay for two frames, so
// most of a changed rectangle stands still and some spots go back to the face.
void Spots(int frame, int width, int height, Pixels& out)
{
    Desktop(frame, width, height, out);
    static const std::uint32_t colors[] = {0xD4D0C8, kLimeGreen, 0x000000, 0xFF8000, 0x0000FF};
    for (int f = std::max(frame - 1, 0); f <= frame; ++f)
        for (std::uint32_t j = 0, h = static_cast<std::uint32_t>(f) * 2654435761u; j < 9; ++j) {
            h = h * 1664525u + 1013904223u;
            out[(h >> 8) % out.size()] = colors[(h >> 4) % 5];
        }
}

struct Recording {
    std::vector<Pixels> frames;
    std::vector<std::int64_t> times;
    std::int64_t endUs = 0;
};

Recording Record(const Scene& scene, int width, int height, int count, int fps)
{
    Recording r;
    for (int i = 0; i < count; ++i) {
        r.frames.emplace_back(static_cast<std::size_t>(width) * height);
        scene(i, width, height, r.frames.back());
        r.times.push_back(std::int64_t{i} * 1000000 / fps);
    }
    r.endUs = std::int64_t{count} * 1000000 / fps;
    return r;
}

void Encode(const Recording& r, int width, int height, gif::ByteSink& sink)
{
    gif::AnimationStream stream(sink, width, height, 3);
    for (std::size_t i = 0; i < r.frames.size(); ++i) {
        gif::AnimationFrame* slot;
        while (!(slot = stream.Acquire()) && stream.Failure().empty()) std::this_thread::yield();
        if (!slot) break;
        slot->pixels = r.frames[i];
        slot->timeUs = r.times[i];
        stream.Submit(slot);
    }
    if (!stream.Finish(r.endUs)) throw gif::GIFException(stream.Failure());
}

struct Case {
    const char* name;
    Scene scene;
    int width, height, frames, fps;
    bool lossless;
    int expectedImages;  // 0: not checked
};

class AnimationCases : public ::testing::TestWithParam<Case> {};

TEST_P(AnimationCases, PlaysBackAsRecorded)
{
    const Case& c = GetParam();
    const Recording r = Record(c.scene, c.width, c.height, c.frames, c.fps);
    std::vector<std::uint8_t> file;
    gif::MemorySink sink(file);
    Encode(r, c.width, c.height, sink);
    const auto decoded = gifnative::DecodeAnimationWithGiflib(file);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_TRUE(decoded.loops);
    ASSERT_EQ(decoded.width, c.width);
    ASSERT_EQ(decoded.height, c.height);
    if (c.expectedImages) EXPECT_EQ(static_cast<int>(decoded.frames.size()), c.expectedImages);

    int total = 0;
    std::vector<int> starts;
    for (int d : decoded.delays) starts.push_back(total), total += d;
    EXPECT_EQ(total, c.frames * 100 / c.fps) << "delays add up to the length";

    const Pixels* before = nullptr;
    for (std::size_t i = 0; i < r.frames.size(); ++i) {
        const int at = static_cast<int>(gif::Centiseconds(r.times[i]));
        std::size_t shown = 0;
        while (shown + 1 < starts.size() && starts[shown + 1] <= at) ++shown;
        const auto& frame = decoded.frames[shown];
        if (c.lossless) ASSERT_EQ(frame, r.frames[i]) << "source frame " << i;
        if (before)
            for (std::size_t p = 0; p < frame.size(); ++p)
                if (r.frames[i][p] == r.frames[i - 1][p])
                    ASSERT_EQ(frame[p], (*before)[p]) << "still pixel " << p << " of frame " << i;
        before = &frame;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, AnimationCases,
    ::testing::Values(Case{"desktop", Desktop, 96, 40, 150, 15, true, 0},
                      Case{"desktop30", Desktop, 33, 17, 61, 30, true, 0},
                      Case{"spots", Spots, 70, 50, 90, 15, true, 0},
                      Case{"photo", Photo, 80, 60, 30, 10, false, 30},
                      Case{"still", [](int, int w, int h, Pixels& out) { Desktop(0, w, h, out); },
                           20, 20, 45, 15, true, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnimationStream, AFailedWriteIsReportedNotLost)
{
    const Recording r = Record(Desktop, 64, 32, 40, 15);
    std::vector<std::uint8_t> whole;
    gif::MemorySink good(whole);
    Encode(r, 64, 32, good);
    for (std::size_t limit : {std::size_t{0}, std::size_t{20}, whole.size() / 2, whole.size() - 1}) {
        gifnative::FailingSink sink(limit);
        EXPECT_THROW(Encode(r, 64, 32, sink), gif::GIFException) << limit;
    }
}

}  // namespace
