#include "output/FileNaming.h"

#include <cstdint>
#include <optional>

namespace {

constexpr std::wstring_view kTypeExtensions[] = {L".jpg", L".bmp", L".gif", L".png"};

size_t FinalComponentStart(std::wstring_view path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? 0 : slash + 1;
}

// Where the extension of the final path component starts, or npos.
size_t ExtensionStart(std::wstring_view path)
{
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos || dot < FinalComponentStart(path)) return std::wstring_view::npos;
    return dot;
}

int DigitValue(wchar_t c, int base)
{
    int v = -1;
    if (c >= L'0' && c <= L'9') v = c - L'0';
    else if (c >= L'a' && c <= L'f') v = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') v = c - L'A' + 10;
    return v < base ? v : -1;
}

// Reads a 32-bit integer the way the numbering expects: leading blanks, an
// optional sign, then decimal digits or "$" / "0x" and hexadecimal digits, and
// nothing after them. A hexadecimal number is a 32-bit pattern ("$FFFFFFFF"
// is -1); a decimal one must lie within the signed 32-bit range.
std::optional<std::int32_t> ReadInt32(std::wstring_view text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == L' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    int base = 10;
    if (i < text.size() && text[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0) return std::nullopt;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    if (base == 16) {
        const auto pattern = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        return negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(pattern)) : pattern;
    }
    if (value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return std::nullopt;
    const auto magnitude = static_cast<std::int64_t>(value);
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

std::wstring ExtensionForFilter(std::wstring_view name, int filterIndex)
{
    if (filterIndex < ftJPEG || filterIndex > ftPNG) return std::wstring(name);
    const size_t dot = ExtensionStart(name);
    std::wstring out(name.substr(0, dot));
    out += kTypeExtensions[filterIndex - 1];
    return out;
}

std::wstring NumberedFileName(std::wstring_view name)
{
    const size_t dot = ExtensionStart(name);
    const std::wstring_view base = name.substr(0, dot);
    if (base.empty()) return std::wstring(name);
    if (base.back() == L')') {
        const size_t open = base.rfind(L'(', base.size() - 2);
        if (open != std::wstring_view::npos) {
            const std::wstring_view inner = base.substr(open + 1, base.size() - open - 2);
            if (const auto n = ReadInt32(inner)) {
                // 64-bit sum: the number after 2147483647 is 2147483648, not a
                // negative one that would count back towards names in use.
                const std::int64_t next = static_cast<std::int64_t>(*n) + 1;
                return std::wstring(base.substr(0, open)) + L"(" + std::to_wstring(next) + L")";
            }
        }
    }
    return std::wstring(base) + L"(1)";
}

SplitFileName SplitPath(std::wstring_view path)
{
    const size_t start = FinalComponentStart(path);
    SplitFileName out;
    out.folder = std::wstring(path.substr(0, start));
    out.name = std::wstring(path.substr(start));
    const size_t dot = ExtensionStart(path);
    if (dot != std::wstring_view::npos) out.extension = std::wstring(path.substr(dot));
    return out;
}

std::wstring NextRenamedPath(std::wstring_view path)
{
    const SplitFileName parts = SplitPath(path);
    return parts.folder + NumberedFileName(parts.name) + parts.extension;
}
