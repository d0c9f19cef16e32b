// How settings values are spelled in the store: flags as "0"/"1" strings,
// integers as 32-bit values or, where a string already stands, decimal strings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace settings {

// "1" for true, "0" for false.
std::wstring FlagText(bool value);

// A decimal integer with an optional sign and nothing else; nullopt when the
// text is not one or does not fit in 32 bits.
std::optional<int> ParseDecimal(std::wstring_view text);

std::wstring DecimalText(int value);

}  // namespace settings
