// The global key that starts a capture from any program. A key is a word as
// the standard hot-key control gives it: the virtual key in the low byte,
// HOTKEYF_SHIFT, HOTKEYF_CONTROL and HOTKEYF_ALT in the high byte; 0 is no key.
#pragma once

#include <windows.h>

#include <string>


// The modifiers and virtual key RegisterHotKey takes for a key word.
struct HotKeyRegistration {
    UINT modifiers;
    UINT virtualKey;
};
HotKeyRegistration RegistrationOf(int hotKey) noexcept;

// What users read for a key: "Print Screen", "Ctrl+Shift+F9".
std::wstring HotKeyName(int hotKey);

// Whether a key may be chosen as a key of the program: a key that types a
// character (a letter, a digit, Space, punctuation, the keypad's digits and
// signs) or Enter, Tab, Escape or Backspace would be taken from every program,
// so it needs Ctrl or Alt with it; the function keys, Print Screen, Pause and
// the other keys may stand alone. No key (0) is allowed.
bool HotKeyAllowed(int hotKey) noexcept;
// The note a key row shows for a key that HotKeyAllowed refuses.
std::wstring HotKeyRefusal(int hotKey);

// The value the hot-key control needs to name a key right: HOTKEYF_EXT added
// for the keys that sit on the extended part of the keyboard (Print Screen,
// the arrows, Insert, Delete, Home, End, Page Up and Down, the keypad's divide,
// Num Lock). StoredHotKey takes it off again, so stored values stay as they were.
int HotKeyControlValue(int hotKey) noexcept;
int StoredHotKey(int controlValue) noexcept;

// Whether the system gives Print Screen to its own screen capture
// (HKCU\Control Panel\Keyboard, PrintScreenKeyForSnippingEnabled = 1).
bool SystemTakesPrintScreen(HKEY root = HKEY_CURRENT_USER);

// The sentence that tells why the key may not start a capture, empty when
// nothing stands in its way. registerError is GetLastError of a failed
// registration, 0 after a successful one.
std::wstring HotKeyProblem(int hotKey, DWORD registerError, bool systemTakesPrintScreen);

// The registration of one key on a window, released on every path. The
// window receives WM_HOTKEY with id when the key is pressed.
class TCaptureHotKey {
public:
    // id is what WM_HOTKEY carries for this key: one id a key of the program.
    explicit TCaptureHotKey(int id = kCaptureId) noexcept : id_(id) {}
    TCaptureHotKey(const TCaptureHotKey&) = delete;
    TCaptureHotKey& operator=(const TCaptureHotKey&) = delete;
    ~TCaptureHotKey() { Unregister(); }

    static constexpr int kCaptureId = 1;
    static constexpr int kLastRegionId = 2;
    static constexpr int kRecordId = 3;

    // Registers hotKey on owner in place of the key held now (never by force:
    // a key another program holds stays his). Returns the problem text, empty
    // when the key is ours and nothing else takes it.
    const std::wstring& Register(HWND owner, int hotKey);
    void Unregister() noexcept;

    int Id() const noexcept { return id_; }
    int Key() const noexcept { return key_; }
    const std::wstring& Problem() const noexcept { return problem_; }

private:
    int id_;
    HWND owner_ = nullptr;
    bool registered_ = false;
    int key_ = 0;
    std::wstring problem_;
};
