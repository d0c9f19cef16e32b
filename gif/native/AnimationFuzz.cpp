// The animation half of the GIF fuzz target (see FuzzSupport.h).
#include <algorithm>
#include <exception>

#include "FailingSink.h"
#include "FuzzSupport.h"
#include "GiflibDecode.h"
#include "gif/AnimationEncoder.h"
#include "gif/GIFException.h"

namespace gifnative {

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    int Next() { return size_ ? data_[at_++ % size_] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

struct Clip {
    int width = 1, height = 1;
    std::vector<std::vector<std::uint32_t>> frames;
    std::vector<std::int64_t> times;
    std::int64_t endUs = 0;
    bool lossless = true;  // no frame's changed pixels hold more than 255 colours
};

Clip MakeClip(Bytes& in)
{
    Clip clip;
    clip.width = 1 + in.Next() % 48;
    clip.height = 1 + in.Next() % 48;
    const int colors = 1 + in.Next() * 3;
    std::vector<std::uint32_t> palette;
    std::uint32_t state = 0x9E3779B9u ^ static_cast<std::uint32_t>(in.Next());
    for (int i = 0; i < colors; ++i) {
        state = state * 1664525u + 1013904223u;
        palette.push_back(state >> 8);
    }
    const int count = 1 + in.Next() % 12;
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(clip.width) * clip.height, palette[0]);
    std::int64_t time = 0;
    for (int f = 0; f < count; ++f) {
        const int left = in.Next() % clip.width, top = in.Next() % clip.height;
        const int right = left + in.Next() % (clip.width - left + 1);
        const int bottom = top + in.Next() % (clip.height - top + 1);
        const int mode = in.Next();
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                state = state * 1664525u + 1013904223u;
                const int pick = (mode & 1) ? static_cast<int>(state >> 16) : mode;
                picture[static_cast<std::size_t>(y) * clip.width + x] =
                    palette[static_cast<std::size_t>(pick) % palette.size()];
            }
        clip.frames.push_back(picture);
        clip.times.push_back(time);
        time += 10000 + in.Next() * 9000;  // at least a centisecond apart
    }
    clip.endUs = time;
    return clip;
}

void Encode(const Clip& clip, gif::ByteSink& sink)
{
    gif::AnimationEncoder encoder(sink, clip.width, clip.height);
    for (std::size_t i = 0; i < clip.frames.size(); ++i)
        encoder.AddFrame({clip.frames[i].data(), clip.width}, clip.times[i]);
    encoder.Finish(clip.endUs);
}

bool Lossless(const Clip& clip)
{
    for (std::size_t i = 0; i < clip.frames.size(); ++i) {
        gif::ColorSet set;
        for (std::size_t p = 0; p < clip.frames[i].size(); ++p)
            if (i == 0 || clip.frames[i][p] != clip.frames[i - 1][p]) set.Add(clip.frames[i][p] & gif::kColorMask);
        if (set.Overflowed()) return false;
    }
    return true;
}

std::string Compare(const Clip& clip, const DecodedAnimation& decoded)
{
    if (!decoded.ok) return "giflib: " + decoded.error;
    if (decoded.width != clip.width || decoded.height != clip.height) return "size";
    std::vector<int> starts;
    int total = 0;
    for (int d : decoded.delays) starts.push_back(total), total += d;
    if (total != gif::Centiseconds(clip.endUs)) return "delays add up to " + std::to_string(total);
    const bool lossless = Lossless(clip);
    const std::vector<std::uint32_t>* before = nullptr;
    for (std::size_t i = 0; i < clip.frames.size(); ++i) {
        const int at = static_cast<int>(gif::Centiseconds(clip.times[i]));
        std::size_t shown = 0;
        while (shown + 1 < starts.size() && starts[shown + 1] <= at) ++shown;
        const auto& frame = decoded.frames.at(shown);
        for (std::size_t p = 0; p < frame.size(); ++p) {
            const std::uint32_t source = clip.frames[i][p] & gif::kColorMask;
            if (lossless && frame[p] != source) return "frame " + std::to_string(i) + " differs";
            if (before && clip.frames[i][p] == clip.frames[i - 1][p] && frame[p] != (*before)[p])
                return "still pixel changed in frame " + std::to_string(i);
        }
        before = &frame;
    }
    return {};
}

}  // namespace

std::string CheckAnimation(const std::uint8_t* data, std::size_t size)
{
    Bytes in(data, size);
    const std::size_t failAt = static_cast<std::size_t>(in.Next() << 8 | in.Next());
    const Clip clip = MakeClip(in);
    std::vector<std::uint8_t> file;
    gif::MemorySink sink(file);
    try {
        Encode(clip, sink);
    } catch (const std::exception& e) {
        return std::string("encoder failed: ") + e.what();
    }
    if (std::string problem = Compare(clip, DecodeAnimationWithGiflib(file)); !problem.empty())
        return problem;
    FailingSink failing(failAt % file.size());
    try {
        Encode(clip, failing);
    } catch (const gif::GIFException&) {
        return {};
    }
    return "a failed write went unreported";
}

}  // namespace gifnative
