// One running program per user session. The first start owns a named mutex;
// a later start hands its request (a capture) to the running one through a
// registered message on the tray icon's window, and ends. A running program
// that is closing refuses the request: the later start then waits for it to
// end and runs as the first.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "win/UniqueHandle.h"

// The message the running program receives when a later start asks for a
// capture; the same number in every process of the session.
UINT CaptureRequestMessage();

// True when the command line (as GetCommandLineW gives it, program name
// first) asks for a capture: "/capture" or "-capture", in any case.
bool WantsCapture(std::wstring_view commandLine);

class SingleInstance {
public:
    SingleInstance();

    // True when this process is the first start and goes on running.
    bool IsFirst() const noexcept { return first_; }

    enum class HandOver { Taken, RunAsFirst, NoAnswer };
    // Asks the running program for a capture, waiting for its tray window
    // while it is still starting. Taken when it answered that it will
    // capture; RunAsFirst when it was closing and has ended since (this
    // process is the first now); NoAnswer when neither came in time.
    HandOver RequestCapture(const wchar_t* trayWindowClass);

    // The same, with the claim of the first place as a parameter (true once
    // this process is the first) and the time it may take.
    static HandOver RequestCapture(const wchar_t* trayWindowClass, const std::function<bool()>& claimFirst,
                                   DWORD waitMs);

    static constexpr DWORD kWaitMs = 30000;

private:
    // Tries the mutex again: true when no other process holds it any more.
    bool ClaimFirst();

    win::UniqueKernelObject mutex_;
    bool first_ = true;
};
