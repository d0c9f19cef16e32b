// The capture key's names, registrations and the sentences that say why it
// cannot serve; the command line of a start that asks for a capture.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/CaptureHotKey.h"
#include "app/SingleInstance.h"

TEST(CaptureHotKey, NamesAndRegistrationsFollowTheControlsWord)
{
    constexpr UINT kNoRepeat = 0x4000;
    struct Case {
        int key;
        const wchar_t* name;
        UINT modifiers;
        UINT vk;
    } cases[] = {
        {VK_SNAPSHOT, L"Print Screen", kNoRepeat, VK_SNAPSHOT},
        {(HOTKEYF_CONTROL << 8) | VK_F9, L"Ctrl+F9", kNoRepeat | MOD_CONTROL, VK_F9},
        {((HOTKEYF_SHIFT | HOTKEYF_ALT) << 8) | 'K', L"Shift+Alt+K", kNoRepeat | MOD_SHIFT | MOD_ALT, 'K'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HotKeyName(c.key), c.name);
        EXPECT_EQ(RegistrationOf(c.key).modifiers, c.modifiers) << c.name;
        EXPECT_EQ(RegistrationOf(c.key).virtualKey, c.vk) << c.name;
    }
}

TEST(CaptureHotKey, ProblemsNameTheKeyAndTheSystemSetting)
{
    const int ctrlF9 = (HOTKEYF_CONTROL << 8) | VK_F9;
    EXPECT_EQ(HotKeyProblem(VK_SNAPSHOT, ERROR_HOTKEY_ALREADY_REGISTERED, false),
              L"Print Screen is used by another program: choose another key in Settings");
    EXPECT_EQ(HotKeyProblem(ctrlF9, ERROR_HOTKEY_ALREADY_REGISTERED, true),
              L"Ctrl+F9 is used by another program: choose another key in Settings");
    EXPECT_NE(HotKeyProblem(VK_SNAPSHOT, 0, true).find(L"\"Use the Print screen key to open screen capture\""),
              std::wstring::npos);
    EXPECT_EQ(HotKeyProblem(ctrlF9, 0, true), L"");  // the system takes only Print Screen alone
    EXPECT_EQ(HotKeyProblem(0, ERROR_HOTKEY_ALREADY_REGISTERED, true), L"");  // no key, nothing to say

    // The system's setting counts only as a 4-byte 1.
    const wchar_t* root = L"Software\\TavroTest\\HotKey";
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(root) + L"\\Control Panel\\Keyboard").c_str(), 0,
                                nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    HKEY base = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, root, 0, KEY_READ, &base);
    for (DWORD value : {0u, 1u, 2u}) {
        ::RegSetValueExW(key, L"PrintScreenKeyForSnippingEnabled", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
        EXPECT_EQ(SystemTakesPrintScreen(base), value == 1) << value;
    }
    ::RegCloseKey(base);
    ::RegCloseKey(key);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, root);
}

TEST(SingleInstance, OnlyACaptureSwitchAfterTheProgramAsksForACapture)
{
    EXPECT_TRUE(WantsCapture(L"tavro.exe /capture"));
    EXPECT_TRUE(WantsCapture(L"\"C:\\Program Files\\Tavro\\tavro.exe\"  -CAPTURE"));
    EXPECT_FALSE(WantsCapture(L"\"C:\\tools\\x /capture\\tavro.exe\""));  // part of the program's path
    EXPECT_FALSE(WantsCapture(L"tavro.exe /captured"));
    EXPECT_FALSE(WantsCapture(L"tavro.exe"));
}
