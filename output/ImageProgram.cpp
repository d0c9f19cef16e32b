#include "output/ImageProgram.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>

#include "output/TempImageFile.h"
#include "win/Strings.h"

namespace {

struct ComRelease {
    void operator()(IUnknown* p) const noexcept { p->Release(); }
};

struct IdListFree {
    void operator()(ITEMIDLIST* p) const noexcept { ::CoTaskMemFree(p); }
};

}  // namespace

bool IsBlank(std::wstring_view text) noexcept
{
    return text.find_first_not_of(L' ') == std::wstring_view::npos;
}

bool ProgramFileExists(const std::wstring& name)
{
    return !IsBlank(name) && win::IsExistingFile(name);
}

std::wstring ShellLongPath(const std::wstring& path)
{
    IShellFolder* rawDesktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&rawDesktop)) || !rawDesktop) return path;
    std::unique_ptr<IShellFolder, ComRelease> desktop(rawDesktop);

    std::wstring parsed = path;  // ParseDisplayName takes a writable string
    ITEMIDLIST* rawList = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, parsed.data(), nullptr, &rawList, nullptr)) || !rawList)
        return path;
    std::unique_ptr<ITEMIDLIST, IdListFree> list(rawList);

    wchar_t longPath[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(list.get(), longPath) || !longPath[0]) return path;
    return longPath;
}

std::wstring FindDefaultProgram(const std::wstring& path)
{
    wchar_t program[MAX_PATH] = {};  // the size FindExecutable writes at most
    const auto result = reinterpret_cast<INT_PTR>(::FindExecutableW(path.c_str(), nullptr, program));
    if (result <= 32 || !program[0]) return {};
    return ShellLongPath(program);
}

std::wstring GetDefaultProgram(const win::Bitmap& picture)
{
    // The association is looked up by an existing file of the type; this one
    // serves only the look-up.
    const std::wstring probe = SaveBMP(picture);
    if (probe.empty()) return {};
    std::wstring program = FindDefaultProgram(probe);
    ::DeleteFileW(probe.c_str());
    return IsBlank(program) ? std::wstring() : program;
}

void StartImageProgram(const std::wstring& program, const std::wstring& file)
{
    const std::wstring argument = L"\"" + file + L"\"";
    ::ShellExecuteW(nullptr, nullptr, program.c_str(), argument.c_str(), nullptr, SW_SHOWNORMAL);
}
