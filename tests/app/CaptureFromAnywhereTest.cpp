// The sentences that say why the capture key cannot serve, the keys a key row
// refuses, the command line of a start that asks for a capture and the hand-over
// of a later start to the running program.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/AppSettings.h"
#include "app/CaptureHotKey.h"
#include "app/SettingsDialog.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"

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

TEST(CaptureHotKey, KeysThatTypeNeedCtrlOrAltAndExtendedKeysAreNamedAsSuch)
{
    constexpr int shift = HOTKEYF_SHIFT << 8, ctrl = HOTKEYF_CONTROL << 8, alt = HOTKEYF_ALT << 8;
    for (const int key : {int('A'), shift | 'A', int('7'), int(VK_SPACE), int(VK_ESCAPE), int(VK_RETURN),
                          int(VK_TAB), int(VK_NUMPAD5), int(VK_OEM_PERIOD), shift | VK_OEM_2})
        EXPECT_FALSE(HotKeyAllowed(key)) << std::hex << key;
    for (const int key : {0, ctrl | 'A', alt | VK_SPACE, int(VK_F9), int(VK_SNAPSHOT), shift | VK_SNAPSHOT,
                          int(VK_PAUSE), int(VK_HOME)})
        EXPECT_TRUE(HotKeyAllowed(key)) << std::hex << key;

    // The dialog: a refused key is not stored; Print Screen goes to the
    // control as an extended key and comes back as it was stored.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    TAppSettings settings;
    settings.CaptureHotKey = VK_SNAPSHOT;
    TSetForm dialog(settings);
    // The rest of the dialog as showing it fills it: only the key is refused.
    ::SetDlgItemTextW(dialog.Hwnd(), TSetForm::FileNamePatternEd, settings.FileNamePattern.c_str());
    HWND key = ::GetDlgItem(dialog.Hwnd(), TSetForm::CaptureKeyEd);
    ::SendMessageW(key, HKM_SETHOTKEY, 'A', 0);
    dialog.OKButClick();
    EXPECT_EQ(settings.CaptureHotKey, VK_SNAPSHOT);
    wchar_t note[200] = {};
    ::GetDlgItemTextW(dialog.Hwnd(), TSetForm::CaptureKeyNote, note, 200);
    EXPECT_EQ(std::wstring(note), L"A would be taken from every program: add Ctrl or Alt");
    for (const int stored : {ctrl | 'A', int(VK_SNAPSHOT), shift | VK_LEFT, int(VK_F9)}) {
        const int shown = HotKeyControlValue(stored);
        EXPECT_EQ((shown >> 8 & HOTKEYF_EXT) != 0, (stored & 0xFF) == VK_SNAPSHOT || (stored & 0xFF) == VK_LEFT);
        ::SendMessageW(key, HKM_SETHOTKEY, shown, 0);
        dialog.OKButClick();
        EXPECT_EQ(settings.CaptureHotKey, stored);
    }
}

TEST(SingleInstance, OnlyACaptureSwitchAfterTheProgramAsksForACapture)
{
    EXPECT_TRUE(WantsCapture(L"tavro.exe /capture"));
    EXPECT_TRUE(WantsCapture(L"\"C:\\Program Files\\Tavro\\tavro.exe\"  -CAPTURE"));
    EXPECT_FALSE(WantsCapture(L"\"C:\\tools\\x /capture\\tavro.exe\""));  // inside the program's path
    EXPECT_FALSE(WantsCapture(L"tavro.exe /captured"));
}

TEST(SingleInstance, ALaterStartRunsAsTheFirstWhenTheRunningProgramWasClosing)
{
    // The running program's tray window refuses requests while it is closing.
    bool closing = false;
    int requests = 0, claims = 0, endsAfter = 0;
    TStTrayIcon running;
    running.RequestMessage = CaptureRequestMessage();
    running.OnRequest = [&] { return ++requests, !closing; };
    running.Create(nullptr, L"Tavro", nullptr);
    const auto handOver = [&](bool isClosing, int claimsUntilEnded) {
        closing = isClosing;
        endsAfter = claimsUntilEnded;
        requests = claims = 0;
        return SingleInstance::RequestCapture(TStTrayIcon::kWindowClass, [&] { return ++claims >= endsAfter; }, 300);
    };
    EXPECT_EQ(handOver(false, 0), SingleInstance::HandOver::Taken);
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(handOver(true, 3), SingleInstance::HandOver::RunAsFirst);
    EXPECT_EQ(requests, 3);
    EXPECT_EQ(handOver(true, 1000), SingleInstance::HandOver::NoAnswer);
}
