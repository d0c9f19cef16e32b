#include "app/CaptureHotKey.h"

#include <commctrl.h>

namespace {

constexpr UINT kNoRepeat = 0x4000;  // MOD_NOREPEAT: holding the key starts one capture

// Keys whose names the keyboard layout spells differently on every system.
const wchar_t* FixedKeyName(UINT vk) noexcept
{
    switch (vk) {
    case VK_SNAPSHOT: return L"Print Screen";
    case VK_PAUSE: return L"Pause";
    case VK_SCROLL: return L"Scroll Lock";
    case VK_INSERT: return L"Insert";
    case VK_DELETE: return L"Delete";
    case VK_HOME: return L"Home";
    case VK_END: return L"End";
    case VK_PRIOR: return L"Page Up";
    case VK_NEXT: return L"Page Down";
    default: return nullptr;
    }
}

std::wstring KeyName(UINT vk)
{
    if (const wchar_t* fixed = FixedKeyName(vk)) return fixed;
    if (vk >= VK_F1 && vk <= VK_F24) return L"F" + std::to_wstring(vk - VK_F1 + 1);
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::wstring(1, static_cast<wchar_t>(vk));
    wchar_t name[64] = {};
    const LONG scan = static_cast<LONG>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    if (scan && ::GetKeyNameTextW(scan, name, 64) > 0) return name;
    return L"Key " + std::to_wstring(vk);
}

}  // namespace

HotKeyRegistration RegistrationOf(int hotKey) noexcept
{
    const UINT flags = (static_cast<UINT>(hotKey) >> 8) & 0xFF;
    UINT modifiers = kNoRepeat;
    if (flags & HOTKEYF_SHIFT) modifiers |= MOD_SHIFT;
    if (flags & HOTKEYF_CONTROL) modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_ALT) modifiers |= MOD_ALT;
    return {modifiers, static_cast<UINT>(hotKey) & 0xFF};
}

bool HotKeyAllowed(int hotKey) noexcept
{
    const UINT flags = (static_cast<UINT>(hotKey) >> 8) & 0xFF;
    const UINT vk = static_cast<UINT>(hotKey) & 0xFF;
    if (vk == 0 || (flags & (HOTKEYF_CONTROL | HOTKEYF_ALT)) != 0) return true;
    const bool types = (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || vk == VK_SPACE ||
                       (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE) || (vk >= VK_OEM_1 && vk <= VK_OEM_3) ||
                       (vk >= VK_OEM_4 && vk <= VK_OEM_8) || vk == VK_OEM_102;
    return !types && vk != VK_RETURN && vk != VK_TAB && vk != VK_ESCAPE && vk != VK_BACK;
}

std::wstring HotKeyRefusal(int hotKey)
{
    return HotKeyName(hotKey) + L" would be taken from every program: add Ctrl or Alt";
}

int HotKeyControlValue(int hotKey) noexcept
{
    int value = hotKey & 0xFFFF & ~(HOTKEYF_EXT << 8);
    switch (value & 0xFF) {
    case VK_SNAPSHOT:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_DIVIDE:
    case VK_NUMLOCK: value |= HOTKEYF_EXT << 8; break;
    default: break;
    }
    return value;
}

int StoredHotKey(int controlValue) noexcept { return controlValue & 0xFFFF & ~(HOTKEYF_EXT << 8); }

std::wstring HotKeyName(int hotKey)
{
    const UINT flags = (static_cast<UINT>(hotKey) >> 8) & 0xFF;
    std::wstring name;
    if (flags & HOTKEYF_CONTROL) name += L"Ctrl+";
    if (flags & HOTKEYF_SHIFT) name += L"Shift+";
    if (flags & HOTKEYF_ALT) name += L"Alt+";
    return name + KeyName(static_cast<UINT>(hotKey) & 0xFF);
}

bool SystemTakesPrintScreen(HKEY root)
{
    DWORD value = 0;
    DWORD bytes = sizeof value;
    return ::RegGetValueW(root, L"Control Panel\\Keyboard", L"PrintScreenKeyForSnippingEnabled",
                          RRF_RT_REG_DWORD, nullptr, &value, &bytes) == ERROR_SUCCESS &&
           bytes == sizeof value && value == 1;
}

std::wstring HotKeyProblem(int hotKey, DWORD registerError, bool systemTakesPrintScreen)
{
    if ((hotKey & 0xFF) == 0) return {};
    const std::wstring name = HotKeyName(hotKey);
    if (registerError == ERROR_HOTKEY_ALREADY_REGISTERED)
        return name + L" is used by another program: choose another key in Settings";
    if (registerError != 0) return name + L" cannot be used to capture: choose another key in Settings";
    if (hotKey == VK_SNAPSHOT && systemTakesPrintScreen)
        return L"Windows gives Print Screen to its own screen capture: turn off \"Use the Print screen key "
               L"to open screen capture\" (Windows Settings, Accessibility, Keyboard) or choose another "
               L"key in Settings";
    return {};
}

const std::wstring& TCaptureHotKey::Register(HWND owner, int hotKey)
{
    Unregister();
    owner_ = owner;
    key_ = hotKey;
    DWORD error = 0;
    if ((hotKey & 0xFF) != 0) {
        const HotKeyRegistration r = RegistrationOf(hotKey);
        registered_ = ::RegisterHotKey(owner, id_, r.modifiers, r.virtualKey) != FALSE;
        if (!registered_) {
            error = ::GetLastError();
            if (error == 0) error = ERROR_HOTKEY_ALREADY_REGISTERED;
        }
    }
    problem_ = HotKeyProblem(hotKey, error, SystemTakesPrintScreen());
    return problem_;
}

void TCaptureHotKey::Unregister() noexcept
{
    if (registered_) ::UnregisterHotKey(owner_, id_);
    registered_ = false;
}
