#include "output/OfficeThread.h"

#include <objbase.h>

#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "win/Automation.h"
#include "win/Error.h"
#include "win/UniqueHandle.h"

namespace {

// How often the waiting caller looks at the thread's current call, and how
// much longer than the bound it lets the call run: where COM ends a call
// after the bound (Windows), the call's own failure is reported instead.
constexpr DWORD kLookMs = 100;
constexpr DWORD kGraceMs = 1500;

struct Entry {
    OfficeThread::Job work;
    std::exception_ptr error;
    DWORD limitMs = 0;
    bool ran = false;  // false for a job skipped because the thread ended first
    win::UniqueFile done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

// Cancelled calls and given-up threads are reported as COM reports a call
// its message filter cancelled.
win::Error CancelledCall() { return win::Error(win::AutomationErrorText(RPC_E_CALL_CANCELED, nullptr)); }

void DispatchWaiting(bool& quit, WPARAM& quitCode, UINT filter)
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | filter)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = msg.wParam;
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace

struct OfficeThread::State {
    std::mutex lock;
    std::deque<std::shared_ptr<Entry>> jobs;
    std::function<void()> lastWork;
    bool retiring = false;
    win::CallWatch watch;
    win::UniqueFile wake{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    win::UniqueFile ended{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HWND window = nullptr;  // the thread's own, while it runs

    // The next job to run; null when the thread is to end.
    std::shared_ptr<Entry> Next()
    {
        for (;;) {
            {
                const std::lock_guard<std::mutex> hold(lock);
                if (retiring) return {};
                if (!jobs.empty()) {
                    std::shared_ptr<Entry> job = std::move(jobs.front());
                    jobs.pop_front();
                    return job;
                }
            }
            HANDLE event = wake.get();
            ::MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT);
            bool quit = false;
            WPARAM code = 0;
            DispatchWaiting(quit, code, 0);
        }
    }

    void RunJob(Entry& job)
    {
        if (watch.givenUp) {
            job.error = std::make_exception_ptr(CancelledCall());
        } else {
            const win::BusyRetryScope busy(job.limitMs, &watch);
            job.ran = true;
            try {
                job.work(window);
            } catch (...) {
                job.error = std::current_exception();
            }
            if (busy.CancelledACall()) {
                const std::lock_guard<std::mutex> hold(lock);
                watch.givenUp = true;
            }
        }
        job.work = nullptr;  // what the job holds is released in this apartment
        ::SetEvent(job.done.get());
    }

    void Main()
    {
        const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // Message-only: never shown, never enumerated among the top windows.
        window = ::CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        while (std::shared_ptr<Entry> job = Next()) RunJob(*job);
        std::function<void()> last;
        std::deque<std::shared_ptr<Entry>> skipped;
        {
            const std::lock_guard<std::mutex> hold(lock);
            last = std::move(lastWork);
            skipped.swap(jobs);
        }
        for (auto& job : skipped) {
            job->work = nullptr;
            ::SetEvent(job->done.get());
        }
        if (last) last();
        last = nullptr;
        if (window) ::DestroyWindow(window);
        if (SUCCEEDED(init)) ::CoUninitialize();
        ::SetEvent(ended.get());
    }

    // Waits for event while posted, sent and paint messages go on; stops
    // early when giveUp says so or WM_QUIT arrives. True when event came.
    template <typename GiveUp>
    bool WaitPumping(HANDLE event, GiveUp giveUp)
    {
        bool quit = false;
        WPARAM quitCode = 0;
        bool signalled = false;
        constexpr UINT kWaking = QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT | QS_TIMER | QS_HOTKEY;
        for (;;) {
            if (::MsgWaitForMultipleObjects(1, &event, FALSE, kLookMs, kWaking) == WAIT_OBJECT_0) {
                signalled = true;
                break;
            }
            DispatchWaiting(quit, quitCode, PM_QS_POSTMESSAGE | PM_QS_PAINT | PM_QS_SENDMESSAGE);
            if (quit || giveUp()) break;
        }
        if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
        return signalled;
    }
};

OfficeThread::OfficeThread() : state_(std::make_shared<State>())
{
    if (!state_->wake) win::ThrowLastError();
    try {
        std::thread([state = state_] { state->Main(); }).detach();
    } catch (const std::system_error&) {
        throw win::Error(win::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
    }
}

OfficeThread::~OfficeThread() { Retire(nullptr); }

OfficeThread::Outcome OfficeThread::Run(Job job, DWORD limitMs)
{
    auto entry = std::make_shared<Entry>();
    if (!entry->done) win::ThrowLastError();
    entry->work = std::move(job);
    entry->limitMs = limitMs;
    {
        const std::lock_guard<std::mutex> hold(state_->lock);
        if (state_->watch.givenUp || state_->retiring) return Outcome::GivenUp;
        state_->jobs.push_back(entry);
    }
    ::SetEvent(state_->wake.get());

    // A nested wait (a message handled meanwhile) may have given the thread up.
    const bool done = state_->WaitPumping(entry->done.get(), [&] {
        return state_->watch.givenUp || state_->watch.WaitedMs(::GetTickCount()) > limitMs + kGraceMs;
    });
    Outcome outcome = Outcome::Done;
    if (!done) {
        const std::lock_guard<std::mutex> hold(state_->lock);
        state_->watch.givenUp = true;
        outcome = Outcome::GivenUp;
    }
    if (outcome == Outcome::GivenUp || !entry->ran) return Outcome::GivenUp;
    if (entry->error) std::rethrow_exception(entry->error);
    return Outcome::Done;
}

void OfficeThread::WaitForEnd(DWORD limitMs)
{
    const DWORD start = ::GetTickCount();
    state_->WaitPumping(state_->ended.get(), [&] { return ::GetTickCount() - start > limitMs; });
}

bool OfficeThread::GivenUp() const { return state_->watch.givenUp; }

void OfficeThread::Retire(std::function<void()> lastWork)
{
    {
        const std::lock_guard<std::mutex> hold(state_->lock);
        if (state_->retiring) return;
        state_->retiring = true;
        state_->lastWork = std::move(lastWork);
    }
    ::SetEvent(state_->wake.get());
}
