#include "output/PaintProgram.h"

#include <windows.h>

#include "win/Strings.h"

namespace {

constexpr wchar_t kAppPaths[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// The default value of an App Paths key (REG_EXPAND_SZ comes expanded under
// RRF_RT_REG_SZ); empty when absent.
std::wstring RegisteredPath(const wchar_t* name)
{
    const std::wstring key = std::wstring(kAppPaths) + name;
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                       value, &size) != ERROR_SUCCESS)
        return {};
    std::wstring path = value;
    // A registered path may be quoted.
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
    return path;
}

}  // namespace

std::wstring PaintProgramPath()
{
    for (const wchar_t* name : {L"mspaint.exe", L"mspaint"}) {
        const std::wstring path = RegisteredPath(name);
        if (!path.empty() && win::IsExistingFile(path)) return path;
    }
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    const std::wstring path = std::wstring(system, length) + L"\\mspaint.exe";
    return win::IsExistingFile(path) ? path : std::wstring();
}
