// The tray icon when the shell refuses it (as at sign-in, while the taskbar is
// still starting): the program keeps running and the icon arrives by the
// retries or with the taskbar's "created" message.
#include <gtest/gtest.h>

#include <windows.h>

#include <tuple>

#include "app/TrayIcon.h"

TEST(TrayIcon, AnIconTheShellRefusesArrivesByTheRetriesOrTheTaskbarsMessage)
{
    bool refuse = true;
    int adds = 0, refusals = 3;
    const auto shell = [&](DWORD message, NOTIFYICONDATAW*) -> BOOL {
        return message != NIM_ADD || ++adds > refusals || !refuse;
    };
    const auto pump = [](DWORD ms, const TStTrayIcon& tray) {
        for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < ms && !tray.Active(); ::Sleep(5)) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        }
    };
    // (retries, adds the shell refuses, added by the retries)
    for (const auto& [retries, refused, arrives] : {std::tuple{60, 3, true}, std::tuple{2, 1000, false}}) {
        TStTrayIcon tray;
        tray.ShellNotify = shell;
        tray.RetryMs = 10;
        tray.RetryCount = retries;
        tray.Create(nullptr, L"Tavro", nullptr);
        adds = 0;
        refusals = refused;
        EXPECT_FALSE(tray.Activate());
        pump(arrives ? 5000 : 300, tray);
        EXPECT_EQ(tray.Active(), arrives);
        EXPECT_EQ(adds, arrives ? 4 : 3);  // the first add and the retries
        // The taskbar's message brings the icon also when no add has worked yet.
        refuse = false;
        ::SendMessageW(tray.Hwnd(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        EXPECT_TRUE(tray.Active());
        refuse = true;
    }
}
