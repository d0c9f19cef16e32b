#include "app/HelpCommand.h"

#include <htmlhelp.h>

#include "app/HelpPath.h"
#include "win/Strings.h"

namespace {

std::wstring CurrentFolder()
{
    std::wstring buffer(::GetCurrentDirectoryW(0, nullptr), L'\0');
    buffer.resize(::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data()));
    return buffer;
}

}  // namespace

void ShowHelpActionExecute(HWND owner, const std::wstring& helpFile, std::wstring& helpPath)
{
    helpPath = ResolveHelpPath(helpFile, win::FolderOf(win::ExecutablePath()), CurrentFolder(), win::IsExistingFile);
    if (helpPath.empty()) return;  // no help file anywhere: nothing to show
    bool callHelp = true;
    HH(owner, helpPath, 0, 0, callHelp);
}

bool HH(HWND owner, const std::wstring& helpPath, UINT command, DWORD_PTR data, bool& callHelp)
{
    if (command == 0 && data == 0) ::HtmlHelpW(owner, helpPath.c_str(), HH_DISPLAY_TOC, 0);
    callHelp = false;
    return false;
}
