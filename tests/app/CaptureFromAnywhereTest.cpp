// The sentences that say why the capture key cannot serve, and the command
// line of a start that asks for a capture.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/CaptureHotKey.h"
#include "app/SingleInstance.h"

TEST(CaptureHotKey, ProblemsNameTheKeyAndTheSystemTakesOnlyPrintScreenAlone)
{
    const int ctrlShiftF9 = ((HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8) | VK_F9;
    EXPECT_EQ(HotKeyProblem(ctrlShiftF9, ERROR_HOTKEY_ALREADY_REGISTERED, true),
              L"Ctrl+Shift+F9 is used by another program: choose another key in Settings");
    EXPECT_NE(HotKeyProblem(VK_SNAPSHOT, 0, true).find(L"Print screen key"), std::wstring::npos);
    EXPECT_EQ(HotKeyProblem(ctrlShiftF9, 0, true), L"");
    EXPECT_EQ(HotKeyProblem(0, ERROR_HOTKEY_ALREADY_REGISTERED, true), L"");  // no key
    EXPECT_EQ(RegistrationOf(ctrlShiftF9).modifiers & (MOD_CONTROL | MOD_SHIFT | MOD_ALT), UINT(MOD_CONTROL | MOD_SHIFT));
}

TEST(SingleInstance, OnlyACaptureSwitchAfterTheProgramAsksForACapture)
{
    EXPECT_TRUE(WantsCapture(L"tavro.exe /capture"));
    EXPECT_TRUE(WantsCapture(L"\"C:\\Program Files\\Tavro\\tavro.exe\"  -CAPTURE"));
    EXPECT_FALSE(WantsCapture(L"\"C:\\tools\\x /capture\\tavro.exe\""));  // inside the program's path
    EXPECT_FALSE(WantsCapture(L"tavro.exe /captured"));
}
