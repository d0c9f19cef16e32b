#include "app/HelpPath.h"

namespace {
std::wstring WithSeparator(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return folder;
}
}  // namespace

std::wstring ResolveHelpPath(const std::wstring& helpFile, const std::wstring& exeFolder,
                             const std::wstring& currentFolder,
                             const std::function<bool(const std::wstring&)>& exists)
{
    // The program's own folder first: a bare name is looked up in the current
    // folder, where anyone could have put a file of that name.
    for (const std::wstring& candidate :
         {WithSeparator(exeFolder) + helpFile, helpFile, WithSeparator(currentFolder) + helpFile})
        if (exists(candidate)) return candidate;
    return {};
}
