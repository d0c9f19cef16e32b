// The thread the Office exports make their automation calls on: a
// single-threaded apartment of its own, so that an application that hangs
// blocks this thread and not the program's windows, tray and Exit.
//
// A job gets everything it uses as its own copy or by transfer: it never
// reaches into the caller's objects, since after a give-up it may still run
// for a while. The thread has a hidden window of its own, handed to each job,
// for what needs a window of the calling thread (the clipboard's owner).
//
// The caller waits for each job while its own posted, sent and paint messages
// go on (input waits, as during any automation call). A call of the job that
// waits past the bound without an answer gives the thread up: the job's wait
// ends, every later call on the thread fails at once, and the thread ends by
// itself once the hung call returns, after running its retirement work. A
// given-up thread runs no further jobs; the owner starts a new one. A call
// that COM itself cancelled after the bound gives the thread up too.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

class OfficeThread {
public:
    // Throws win::Error when the thread cannot be started.
    OfficeThread();
    // Retires the thread without waiting for it.
    ~OfficeThread();
    OfficeThread(const OfficeThread&) = delete;
    OfficeThread& operator=(const OfficeThread&) = delete;

    using Job = std::function<void(HWND threadWindow)>;
    enum class Outcome { Done, GivenUp };
    // Runs job on the thread with busy retries within limitMs and waits for
    // it, after the jobs queued before it. An exception of the job is thrown
    // here; the job is destroyed on the thread before Run returns Done.
    // GivenUp when a call waited past limitMs, the thread was given up or
    // retired before, or the program is ending (WM_QUIT arrived meanwhile).
    Outcome Run(Job job, DWORD limitMs);

    // True once the thread was given up; then give the thread what must be
    // released in its apartment with Retire and start a new one.
    bool GivenUp() const;

    // The last work the thread does, after its current job, before it ends:
    // releasing what belongs to its apartment. Only the first call counts.
    void Retire(std::function<void()> lastWork);
    // Waits up to limitMs for a retired thread to end, as Run waits.
    void WaitForEnd(DWORD limitMs);

private:
    struct State;
    std::shared_ptr<State> state_;
};
