// The standard error box: application title, error icon, OK.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// The message as the box shows it: a full stop is appended when the last
// character sorts after the full stop (so "failed" ends with '.', "failed!" not).
std::wstring ErrorBoxText(const std::wstring& message);

void ShowErrorBox(HWND owner, const std::wstring& title, const std::wstring& message);

}  // namespace win
