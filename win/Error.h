// The exception every command may throw: a message meant for the user.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace win {

class Error : public std::exception {
public:
    explicit Error(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return "win::Error"; }

private:
    std::wstring message_;
};

// The system's text for a Win32 error code, without the trailing line break.
std::wstring SystemErrorText(DWORD code);

// Throws Error with the system's text for GetLastError().
[[noreturn]] void ThrowLastError();

// Throws Error("Out of memory") style failures of allocation in GDI.
[[noreturn]] void ThrowOutOfResources();

}  // namespace win
