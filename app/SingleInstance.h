// One running program per user session. The first start owns a named mutex;
// a later start hands its request (a capture) to the running one through a
// registered message on the tray icon's window, and ends.
#pragma once

#include <windows.h>

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

    // Asks the running program for a capture, waiting briefly for its tray
    // window when it is still starting. False when it never appears.
    static bool RequestCapture(const wchar_t* trayWindowClass);

private:
    win::UniqueKernelObject mutex_;
    bool first_ = true;
};
