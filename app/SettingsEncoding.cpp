#include "app/SettingsEncoding.h"

#include <cstdint>

namespace settings {

std::wstring FlagText(bool value) { return value ? L"1" : L"0"; }

std::optional<int> ParseDecimal(std::wstring_view text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    if (i == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        value = value * 10 + (text[i] - L'0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<int>(value);
}

std::wstring DecimalText(int value) { return std::to_wstring(value); }

}  // namespace settings
