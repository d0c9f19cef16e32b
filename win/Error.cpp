#include "win/Error.h"

namespace win {

std::wstring SystemErrorText(DWORD code)
{
    wchar_t* buffer = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : L"System Error.  Code: " + std::to_wstring(code);
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

void ThrowLastError()
{
    DWORD code = ::GetLastError();
    throw Error(SystemErrorText(code ? code : ERROR_NOT_ENOUGH_MEMORY));
}

void ThrowOutOfResources() { throw Error(L"Not enough memory for the picture"); }

}  // namespace win
