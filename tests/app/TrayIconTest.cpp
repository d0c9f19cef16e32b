// The tray icon when the shell refuses it (as at sign-in, while the taskbar is
// still starting): the program keeps running and the icon arrives by the
// retries or with the taskbar's "created" message.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/TrayIcon.h"

namespace {

void PumpFor(DWORD ms, const TStTrayIcon& tray, bool untilActive)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms && !(untilActive && tray.Active())) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(5);
    }
}

TEST(TrayIcon, AnIconTheShellRefusesArrivesByTheRetriesOrTheTaskbarsMessage)
{
    bool refuse = true;
    int adds = 0;
    TStTrayIcon tray;
    tray.ShellNotify = [&](DWORD message, NOTIFYICONDATAW*) -> BOOL {
        if (message != NIM_ADD) return TRUE;
        return ++adds > 3 || !refuse;
    };
    tray.RetryMs = 10;
    tray.Create(nullptr, L"Tavro", nullptr);
    EXPECT_FALSE(tray.Activate());
    PumpFor(5000, tray, true);
    EXPECT_TRUE(tray.Active());
    EXPECT_EQ(adds, 4);

    // The retries end; the taskbar's message still brings the icon, also
    // when no add has worked yet.
    TStTrayIcon late;
    adds = -1000;
    late.ShellNotify = tray.ShellNotify;
    late.RetryMs = 10;
    late.RetryCount = 2;
    late.Create(nullptr, L"Tavro", nullptr);
    EXPECT_FALSE(late.Activate());
    PumpFor(300, late, false);
    EXPECT_EQ(adds, -1000 + 3);
    EXPECT_FALSE(late.Active());
    refuse = false;
    ::SendMessageW(late.Hwnd(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(late.Active());
}

}  // namespace
