#include "capture/ScreenRecorder.h"

#include <algorithm>
#include <cstring>

#include "capture/MousePointer.h"
#include "win/Bitmap.h"
#include "win/Error.h"

namespace {

constexpr std::int64_t kMicroseconds = 1000000;

std::int64_t Now() noexcept
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

RECT VirtualDesktop() noexcept
{
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The screen DC of the recording thread, released on every path.
class ScreenDC {
public:
    ScreenDC() noexcept : dc_(::GetDC(nullptr)) {}
    ~ScreenDC() { if (dc_) ::ReleaseDC(nullptr, dc_); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

}  // namespace

RECT ClipToDesktop(const RECT& r, const RECT& desktop) noexcept
{
    RECT clipped{};
    if (!::IntersectRect(&clipped, &r, &desktop)) return RECT{};
    return clipped;
}

ScreenRecorder::ScreenRecorder(gif::AnimationStream& stream, const RecordingOptions& options)
    : stream_(stream), options_(options), desktop_(VirtualDesktop())
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart;
    options_.framesPerSecond = std::clamp(options_.framesPerSecond, 1, 60);
    timer_.reset(::CreateWaitableTimerW(nullptr, FALSE, nullptr));
    stopEvent_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!timer_ || !stopEvent_) throw win::Error(L"Cannot start the recording");
    runStart_ = Now();
    thread_ = std::thread([this] { Run(); });
}

ScreenRecorder::~ScreenRecorder() { Stop(); }

void ScreenRecorder::Stop(RecordingEnd why)
{
    RecordingEnd none = RecordingEnd::None;
    if (why != RecordingEnd::None) end_.compare_exchange_strong(none, why);
    SetPaused(true);
    ::SetEvent(stopEvent_.get());
    if (thread_.joinable()) thread_.join();
}

void ScreenRecorder::SetPaused(bool paused)
{
    std::lock_guard lock(clock_);
    if (paused == paused_) return;
    if (paused) {
        bankedTicks_ += Now() - runStart_;
    } else {
        runStart_ = Now();
    }
    paused_ = paused;
}

std::int64_t ScreenRecorder::ElapsedUs() const
{
    std::lock_guard lock(clock_);
    const std::int64_t ticks = bankedTicks_ + (paused_ ? 0 : Now() - runStart_);
    const std::int64_t us = ticks / frequency_ * kMicroseconds + ticks % frequency_ * kMicroseconds / frequency_;
    return std::min(us, std::int64_t{options_.longestSeconds} * kMicroseconds);
}

void ScreenRecorder::EndBy(RecordingEnd why)
{
    SetPaused(true);
    end_ = why;
    if (options_.notify) ::PostMessageW(options_.notify, options_.notifyMessage, 0, 0);
}

void ScreenRecorder::Run()
{
    const int width = options_.area.right - options_.area.left;
    const int height = options_.area.bottom - options_.area.top;
    const int fps = options_.framesPerSecond;
    const std::int64_t longest = std::int64_t{options_.longestSeconds} * kMicroseconds;
    ScreenDC screen;
    win::Bitmap canvas;
    canvas.SetPixelFormat(win::PixelFormat::Bits32);
    canvas.SetSize(width, height);
    std::int64_t last = -1;  // the last frame slot taken
    LARGE_INTEGER due{};
    ::SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE);
    const HANDLE waits[2] = {stopEvent_.get(), timer_.get()};
    for (;;) {
        if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
        std::int64_t nextUs = 50000;  // while paused, look again after this
        if (!paused_) {
            const std::int64_t elapsed = ElapsedUs();
            if (elapsed >= longest) return EndBy(RecordingEnd::Longest);
            if (!stream_.Failure().empty()) return EndBy(RecordingEnd::WriteFailed);
            if (const RECT now = VirtualDesktop(); !::EqualRect(&desktop_, &now))
                return EndBy(RecordingEnd::DisplayChanged);
            const std::int64_t slot = elapsed * fps / kMicroseconds;
            if (slot > last) {
                if (last >= 0) dropped_ += static_cast<int>(slot - last - 1);
                if (TakeFrame(canvas, screen.get(), slot * kMicroseconds / fps))
                    ++taken_;
                else
                    ++dropped_;
                last = slot;
            }
            nextUs = (last + 1) * kMicroseconds / fps - ElapsedUs();
        }
        due.QuadPart = -std::max<std::int64_t>(nextUs, 1000) * 10;
        ::SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE);
    }
}

bool ScreenRecorder::TakeFrame(win::Bitmap& canvas, HDC screen, std::int64_t timeUs)
{
    gif::AnimationFrame* frame = stream_.Acquire();
    if (!frame) return false;
    const int width = stream_.Width(), height = stream_.Height();
    if (!screen || !::BitBlt(canvas.Canvas(), 0, 0, width, height, screen, options_.area.left, options_.area.top,
                             SRCCOPY | CAPTUREBLT)) {
        stream_.Release(frame);
        return false;
    }
    if (options_.showPointer) DrawMousePointer(canvas.Canvas(), POINT{options_.area.left, options_.area.top});
    ::GdiFlush();
    // The canvas is a 32-bit top-down DIB section: its rows are the frame's.
    for (int y = 0; y < height; ++y)
        std::memcpy(&frame->pixels[static_cast<std::size_t>(y) * width], canvas.Row(y),
                    static_cast<std::size_t>(width) * 4);
    frame->timeUs = timeUs;
    stream_.Submit(frame);
    return true;
}
