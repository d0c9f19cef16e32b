// The names of the files saved right after a capture, made from the user's
// pattern: %Y %m %d %H %M %S the time, %n a counter of three digits, %w %h the
// picture's size, %% a percent sign. No file-system access: whether a name is
// taken is asked of the caller.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

inline constexpr wchar_t kDefaultFileNamePattern[] = L"Capture %Y-%m-%d %H%M%S";

// The pattern with its tokens replaced; other text (an unknown token too)
// stays as it is.
std::wstring ExpandFileNamePattern(std::wstring_view pattern, const SYSTEMTIME& time, int counter, int width,
                                   int height);

// Why the pattern cannot name a file (a character no file name may hold, or
// nothing left of it), in words for the user; empty when it can.
std::wstring FileNamePatternProblem(std::wstring_view pattern);

// The full name of a new file in folder, with the extension of fileType (a
// save-dialog type): %n takes the first number whose name is free, and a name
// taken all the same gets the numbered rename of the Save command, so no file
// is ever replaced.
std::wstring NewCaptureFileName(const std::wstring& folder, std::wstring_view pattern, const SYSTEMTIME& time,
                                int width, int height, int fileType,
                                const std::function<bool(const std::wstring&)>& taken);
