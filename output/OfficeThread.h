// The thread the Office exports make their automation calls on: a
// single-threaded apartment of its own, so that an application that hangs
// blocks this thread and not the program's windows, tray and Exit.
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

    enum class Outcome { Done, GivenUp };
    // Runs job on the thread with busy retries within limitMs and waits for
    // it. An exception of the job is thrown here. GivenUp when a call waited
    // past limitMs (or the program is ending: WM_QUIT arrived meanwhile).
    Outcome Run(std::function<void()> job, DWORD limitMs);

    // Runs change while no job is between its start and its end, unless the
    // thread has been given up; false when it has. Jobs use it to take and
    // give back what the caller's thread also holds.
    bool UnlessGivenUp(const std::function<void()>& change);

    // From a job: has the waiting caller run step on its own thread (the
    // picture and the clipboard's owner are the caller's), and throws what
    // step threw; throws the cancelled-call error when the thread has been
    // given up before the caller took the step.
    void AtCaller(const std::function<void()>& step);

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
