#include "output/CaptureFileName.h"

#include <cwchar>

#include "output/FileNaming.h"

namespace {

constexpr std::wstring_view kForbidden = L"\\/:*?\"<>|";

std::wstring Digits(int value, int width)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"%0*d", width, value);
    return text;
}

std::wstring NameWith(const std::wstring& folder, std::wstring_view pattern, const SYSTEMTIME& time, int counter,
                      int width, int height, int fileType)
{
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    return ExtensionForFilter(path + ExpandFileNamePattern(pattern, time, counter, width, height), fileType);
}

}  // namespace

std::wstring ExpandFileNamePattern(std::wstring_view pattern, const SYSTEMTIME& time, int counter, int width,
                                   int height)
{
    std::wstring out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != L'%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        switch (pattern[++i]) {
        case L'Y': out += Digits(time.wYear, 4); break;
        case L'm': out += Digits(time.wMonth, 2); break;
        case L'd': out += Digits(time.wDay, 2); break;
        case L'H': out += Digits(time.wHour, 2); break;
        case L'M': out += Digits(time.wMinute, 2); break;
        case L'S': out += Digits(time.wSecond, 2); break;
        case L'n': out += Digits(counter, 3); break;
        case L'w': out += std::to_wstring(width); break;
        case L'h': out += std::to_wstring(height); break;
        case L'%': out += L'%'; break;
        default:
            out += L'%';
            out += pattern[i];
            break;
        }
    }
    return out;
}

std::wstring FileNamePatternProblem(std::wstring_view pattern)
{
    for (const wchar_t c : pattern) {
        if (kForbidden.find(c) != std::wstring_view::npos || c < 32)
            return L"A file name cannot contain \\ / : * ? \" < > | or control characters: change the file name "
                   L"pattern";
    }
    const SYSTEMTIME sample{2000, 1, 0, 1, 0, 0, 0, 0};
    const std::wstring name = ExpandFileNamePattern(pattern, sample, 1, 1, 1);
    if (name.find_first_not_of(L" .") == std::wstring::npos) return L"The file name pattern gives no name";
    if (name.back() == L' ' || name.back() == L'.')
        return L"A file name cannot end in a space or a dot: change the file name pattern";
    return {};
}

std::wstring NewCaptureFileName(const std::wstring& folder, std::wstring_view pattern, const SYSTEMTIME& time,
                                int width, int height, int fileType,
                                const std::function<bool(const std::wstring&)>& taken)
{
    const bool counted = ExpandFileNamePattern(pattern, time, 1, width, height) !=
                         ExpandFileNamePattern(pattern, time, 2, width, height);
    int counter = 1;
    std::wstring name = NameWith(folder, pattern, time, counter, width, height, fileType);
    while (counted && taken(name) && counter < 100000)
        name = NameWith(folder, pattern, time, ++counter, width, height, fileType);
    while (taken(name)) name = NextRenamedPath(name);
    return name;
}
