// The Help command: the table of contents of the help file.
#pragma once

#include <windows.h>

#include <string>

// Looks the help file up (see ResolveHelpPath), remembers where in helpPath and
// opens its table of contents owned by owner. No help file anywhere: nothing.
void ShowHelpActionExecute(HWND owner, const std::wstring& helpFile, std::wstring& helpPath);

// The help request handler: the contents request (command 0, data 0) opens
// the table of contents of helpPath; the built-in help is never called.
bool HH(HWND owner, const std::wstring& helpPath, UINT command, DWORD_PTR data, bool& callHelp);
