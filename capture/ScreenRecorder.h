// Takes the frames of a recording: on a thread of its own, at the chosen
// rate on a waitable timer, the area is copied from the screen into a free
// buffer of the encoder's stream. A frame whose time came while the encoder
// still held every buffer, or that came late, is dropped: the next frame
// takes its place at its own time, so the previous one shows longer and the
// recording's length stays true. Paused time does not count.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "gif/AnimationStream.h"
#include "win/Bitmap.h"
#include "win/UniqueHandle.h"

// Why a recording ended by itself.
enum class RecordingEnd : int { None, Longest, WriteFailed, DisplayChanged, ScreenUnreadable };

struct RecordingOptions {
    RECT area{};  // screen pixels, inside the virtual desktop
    int framesPerSecond = 15;
    int longestSeconds = 60;
    bool showPointer = true;
    HWND notify = nullptr;  // receives notifyMessage when the recording ends by itself
    UINT notifyMessage = 0;
};

class ScreenRecorder {
public:
    ScreenRecorder(gif::AnimationStream& stream, const RecordingOptions& options);
    ScreenRecorder(const ScreenRecorder&) = delete;
    ScreenRecorder& operator=(const ScreenRecorder&) = delete;
    ~ScreenRecorder();  // stops the thread

    // Stops taking frames (why, when given, becomes End() unless the
    // recording had already ended by itself).
    void Stop(RecordingEnd why = RecordingEnd::None);
    void SetPaused(bool paused);
    bool Paused() const noexcept { return paused_; }

    // Recorded time so far (pauses left out), and at Stop the recording's length.
    std::int64_t ElapsedUs() const;
    RecordingEnd End() const noexcept { return end_.load(); }
    int FramesTaken() const noexcept { return taken_.load(); }
    int FramesDropped() const noexcept { return dropped_.load(); }

private:
    void Run();
    bool TakeFrame(win::Bitmap& canvas, HDC screen, std::int64_t timeUs);
    void EndBy(RecordingEnd why);

    gif::AnimationStream& stream_;
    RecordingOptions options_;
    RECT desktop_{};  // the virtual desktop at the start
    win::UniqueKernelObject timer_;
    win::UniqueKernelObject stopEvent_;
    std::atomic<bool> paused_{false};
    std::atomic<RecordingEnd> end_{RecordingEnd::None};
    std::atomic<int> taken_{0};
    std::atomic<int> dropped_{0};
    // The clock: performance-counter ticks recorded before the current run,
    // and where the current run began (0 while paused).
    mutable std::mutex clock_;
    std::int64_t bankedTicks_ = 0;
    std::int64_t runStart_ = 0;
    std::int64_t frequency_ = 1;
    std::thread thread_;
};

// r clipped to the virtual desktop; empty when none of r is on the screen.
RECT ClipToDesktop(const RECT& r, const RECT& desktop) noexcept;
