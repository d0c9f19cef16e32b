#include "app/SingleInstance.h"

#include <cwctype>
#include <string>

namespace {

// Local\: one program per session, so each user of a shared machine has his own.
constexpr wchar_t kMutexName[] = L"Local\\Tavro.ScreenCapture.Instance";
constexpr wchar_t kCaptureRequest[] = L"Tavro.ScreenCapture.CaptureRequest";
constexpr DWORD kPollMs = 100;
constexpr UINT kAnswerMs = 5000;

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

bool SingleInstance::ClaimFirst()
{
    // Our own handle keeps the mutex alive: it goes first, then the name is
    // free once the other process has ended.
    mutex_.reset();
    mutex_.reset(::CreateMutexW(nullptr, FALSE, kMutexName));
    first_ = mutex_ && ::GetLastError() != ERROR_ALREADY_EXISTS;
    return first_;
}

SingleInstance::HandOver SingleInstance::RequestCapture(const wchar_t* trayWindowClass)
{
    return RequestCapture(trayWindowClass, [this] { return ClaimFirst(); }, kWaitMs);
}

SingleInstance::HandOver SingleInstance::RequestCapture(const wchar_t* trayWindowClass,
                                                        const std::function<bool()>& claimFirst, DWORD waitMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND tray = ::FindWindowW(trayWindowClass, nullptr)) {
            // The running program may bring its shape dialog to the front.
            DWORD pid = 0;
            ::GetWindowThreadProcessId(tray, &pid);
            ::AllowSetForegroundWindow(pid);
            // 1 only from a program that is not closing: a posted request
            // would be dropped by one that is, and no copy would run.
            DWORD_PTR answer = 0;
            if (::SendMessageTimeoutW(tray, CaptureRequestMessage(), 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &answer) &&
                answer == 1)
                return HandOver::Taken;
        }
        if (claimFirst()) return HandOver::RunAsFirst;
        if (::GetTickCount() - start >= waitMs) return HandOver::NoAnswer;
        ::Sleep(kPollMs);
    }
}
