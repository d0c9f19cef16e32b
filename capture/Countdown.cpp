#include "capture/Countdown.h"

#include <windows.h>

namespace {

constexpr UINT kTickMs = 50;

// A thread timer, killed on every path.
class ThreadTimer {
public:
    explicit ThreadTimer(UINT ms) noexcept : id_(::SetTimer(nullptr, 0, ms, nullptr)) {}
    ~ThreadTimer() { if (id_) ::KillTimer(nullptr, id_); }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

private:
    UINT_PTR id_;
};

bool EscapePressed() noexcept { return (::GetAsyncKeyState(VK_ESCAPE) & 0x8001) != 0; }

}  // namespace

bool RunCountdown(int seconds, const std::function<void(int)>& show, const std::function<bool()>& cancelled)
{
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    ThreadTimer timer(kTickMs);
    EscapePressed();  // forgets a press from before the countdown
    int shown = 0;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end) return true;
        const int left = static_cast<int>((end - now + 999) / 1000);
        if (left != shown) show(shown = left);
        MSG msg;
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (EscapePressed() || (cancelled && cancelled())) return false;
    }
}
