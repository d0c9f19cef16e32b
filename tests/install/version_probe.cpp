// Prints a program's version resource as Windows reads it (fixed version, then four texts).
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv)
{
    std::vector<BYTE> block(argc == 2 ? ::GetFileVersionInfoSizeW(argv[1], nullptr) : 0);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (block.empty() || !::GetFileVersionInfoW(argv[1], 0, block.size(), block.data()) ||
        !::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) return 1;
    std::wprintf(L"%u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                 HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    for (std::wstring name : {L"FileVersion", L"ProductVersion", L"ProductName", L"CompanyName"}) {
        void* text = nullptr;
        bool found = ::VerQueryValueW(block.data(), (L"\\StringFileInfo\\040904B0\\" + name).c_str(), &text, &length);
        std::wprintf(L"%ls\n", found && length ? static_cast<const wchar_t*>(text) : L"(none)");
    }
    return 0;
}
