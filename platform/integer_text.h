#pragma once
// Integer text: the one rule for the numbers of Config.ini and the settings
// store, and the plain decimal numbers of command lines and scripts.

#include <optional>
#include <string_view>

namespace zarvik {

// Integer text, in Config.ini and the settings store alike: leading blanks,
// an optional sign, then decimal digits, or hexadecimal digits after "$" or
// "0x". Nothing may follow. Hexadecimal spells a 32-bit pattern ("$FFFFFFFF"
// is -1); decimal must fit in 32 bits. Anything else, the empty text
// included, is no number.
std::optional<int> parseInteger(std::string_view text);

// Decimal digits with an optional leading "-", nothing before or after:
// the numbers of zarvik-sim's options and script lines. Nothing for any other
// text or a number beyond 64 bits.
std::optional<long long> parseDecimal(std::string_view text);

}  // namespace zarvik
