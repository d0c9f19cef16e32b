// Where the help file is looked for: beside the executable, then under its
// bare name, then in the current directory.
#pragma once

#include <functional>
#include <string>

// The first of the three candidates that exists, or an empty string.
std::wstring ResolveHelpPath(const std::wstring& helpFile, const std::wstring& exeFolder,
                             const std::wstring& currentFolder,
                             const std::function<bool(const std::wstring&)>& exists);
