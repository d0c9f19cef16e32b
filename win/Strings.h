// Conversions and small text helpers.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// Replaces the first "%s" of pattern with value.
std::wstring FormatOne(std::wstring_view pattern, std::wstring_view value);

// The folder part of a path, with its trailing separator ("C:\a\b.exe" -> "C:\a\").
std::wstring FolderOf(std::wstring_view path);

// The full path of the running executable.
std::wstring ExecutablePath();

// Whether path names an existing file (not a folder), or an existing folder.
bool IsExistingFile(const std::wstring& path);
bool IsExistingFolder(const std::wstring& path);

// The whole text of a window or control (an edit box, a label).
std::wstring WindowText(HWND window);

}  // namespace win
