#include "gif/AnimationStream.h"

#include <exception>

namespace gif {

AnimationStream::AnimationStream(ByteSink& sink, int width, int height, int slots)
    : encoder_(sink, width, height), width_(width), height_(height)
{
    const std::size_t count = static_cast<std::size_t>(width) * height;
    for (int i = 0; i < slots; ++i) {
        buffers_.push_back(std::make_unique<AnimationFrame>());
        buffers_.back()->pixels.resize(count);
        free_.push_back(buffers_.back().get());
    }
    worker_ = std::thread([this] { Run(); });
}

AnimationStream::~AnimationStream() { Abandon(); }

AnimationFrame* AnimationStream::Acquire()
{
    std::lock_guard lock(mutex_);
    if (free_.empty() || !failure_.empty()) return nullptr;
    AnimationFrame* frame = free_.back();
    free_.pop_back();
    return frame;
}

void AnimationStream::Submit(AnimationFrame* frame)
{
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(frame);
    }
    wake_.notify_all();
}

void AnimationStream::Release(AnimationFrame* frame)
{
    std::lock_guard lock(mutex_);
    free_.push_back(frame);
}

int AnimationStream::Waiting() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(queue_.size()) + encoding_;
}

std::string AnimationStream::Failure() const
{
    std::lock_guard lock(mutex_);
    return failure_;
}

void AnimationStream::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) return;  // Finish waits for the queue first
        if (!failure_.empty()) {
            // After a failure frames are only given back.
            while (!queue_.empty()) free_.push_back(queue_.front()), queue_.pop_front();
            continue;
        }
        AnimationFrame* frame = queue_.front();
        queue_.pop_front();
        encoding_ = 1;
        lock.unlock();
        std::string failure;
        try {
            encoder_.AddFrame({frame->pixels.data(), width_}, frame->timeUs);
        } catch (const std::exception& e) {
            failure = e.what();
            if (failure.empty()) failure = "The recording could not be written";
        }
        lock.lock();
        encoding_ = 0;
        if (failure_.empty()) failure_ = failure;
        free_.push_back(frame);
        wake_.notify_all();
    }
}

bool AnimationStream::Finish(std::int64_t endUs)
{
    {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return (queue_.empty() && encoding_ == 0) || !failure_.empty(); });
    }
    Abandon();
    std::lock_guard lock(mutex_);
    if (!failure_.empty()) return false;
    try {
        encoder_.Finish(endUs);
    } catch (const std::exception& e) {
        failure_ = e.what();
        if (failure_.empty()) failure_ = "The recording could not be written";
    }
    return failure_.empty();
}

void AnimationStream::Abandon()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

}  // namespace gif
