#include "win/ErrorBox.h"

namespace win {

std::wstring ErrorBoxText(const std::wstring& message)
{
    if (!message.empty() && message.back() > L'.') return message + L'.';
    return message;
}

void ShowErrorBox(HWND owner, const std::wstring& title, const std::wstring& message)
{
    ::MessageBoxW(owner, ErrorBoxText(message).c_str(), title.c_str(),
                  MB_OK | MB_ICONERROR | (owner ? 0 : MB_TASKMODAL));
}

}  // namespace win
