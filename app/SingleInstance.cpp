#include "app/SingleInstance.h"

#include <cwctype>
#include <string>

namespace {

// Local\: one program per session, so each user of a shared machine has his own.
constexpr wchar_t kMutexName[] = L"Local\\Tavro.ScreenCapture.Instance";
constexpr wchar_t kCaptureRequest[] = L"Tavro.ScreenCapture.CaptureRequest";
constexpr int kWaitForWindowMs = 5000;
constexpr int kPollMs = 100;

std::wstring Lowered(std::wstring_view text)
{
    std::wstring out(text);
    for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(c));
    return out;
}

}  // namespace

UINT CaptureRequestMessage() { return ::RegisterWindowMessageW(kCaptureRequest); }

bool WantsCapture(std::wstring_view commandLine)
{
    // Split as the C runtime does for our purpose: blanks separate words,
    // quotes group them; the first word is the program.
    bool first = true;
    size_t i = 0;
    while (i < commandLine.size()) {
        while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
        if (i >= commandLine.size()) break;
        std::wstring word;
        bool quoted = false;
        for (; i < commandLine.size() && (quoted || (commandLine[i] != L' ' && commandLine[i] != L'\t')); ++i) {
            if (commandLine[i] == L'"') quoted = !quoted;
            else word += commandLine[i];
        }
        if (!first) {
            const std::wstring lowered = Lowered(word);
            if (lowered == L"/capture" || lowered == L"-capture") return true;
        }
        first = false;
    }
    return false;
}

SingleInstance::SingleInstance() : mutex_(::CreateMutexW(nullptr, FALSE, kMutexName))
{
    // Without a mutex (no rights, a name clash) this start runs on its own
    // rather than not at all.
    first_ = !mutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

bool SingleInstance::RequestCapture(const wchar_t* trayWindowClass)
{
    for (int waited = 0; waited <= kWaitForWindowMs; waited += kPollMs) {
        if (HWND tray = ::FindWindowW(trayWindowClass, nullptr)) {
            // The running program may bring its shape dialog to the front.
            DWORD pid = 0;
            ::GetWindowThreadProcessId(tray, &pid);
            ::AllowSetForegroundWindow(pid);
            return ::PostMessageW(tray, CaptureRequestMessage(), 0, 0) != FALSE;
        }
        ::Sleep(kPollMs);
    }
    return false;
}
