// A recording's encoder on a thread of its own. The recorder takes a free
// frame buffer, fills it and hands it back with its time; the worker encodes
// frames in order as they come and writes them to the sink, so only the few
// buffers in flight are ever held, however long the recording runs.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gif/AnimationEncoder.h"
#include "gif/ByteSink.h"

namespace gif {

struct AnimationFrame {
    std::vector<std::uint32_t> pixels;  // width x height, rows from the top
    std::int64_t timeUs = 0;
};

class AnimationStream {
public:
    // slots: how many frames may wait for the encoder at once.
    AnimationStream(ByteSink& sink, int width, int height, int slots = 4);
    AnimationStream(const AnimationStream&) = delete;
    AnimationStream& operator=(const AnimationStream&) = delete;
    ~AnimationStream();  // abandons what is left; the file stays unfinished

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }

    // A free buffer, or null when the encoder still holds every one (the
    // caller then drops that frame). Give it back with Submit or Release.
    AnimationFrame* Acquire();
    void Submit(AnimationFrame* frame);
    void Release(AnimationFrame* frame);

    // Frames handed in and not yet encoded.
    int Waiting() const;
    // The first encoding or write failure, empty while all is well.
    std::string Failure() const;

    // Encodes what is waiting, then ends the file at endUs. False (with
    // Failure() saying why) when the file is not complete.
    bool Finish(std::int64_t endUs);
    // Stops at once; what was written stays unfinished.
    void Abandon();

private:
    void Run();

    AnimationEncoder encoder_;
    int width_;
    int height_;
    std::vector<std::unique_ptr<AnimationFrame>> buffers_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<AnimationFrame*> free_;
    std::deque<AnimationFrame*> queue_;
    int encoding_ = 0;
    bool stopping_ = false;
    std::string failure_;
    std::thread worker_;
};

}  // namespace gif
