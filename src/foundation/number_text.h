#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvid {

// Reads a Motorola-style literal: leading blanks, an optional `-`, then `$` hexadecimal,
// `%` binary, `@` octal or plain decimal digits up to the first other character. The value wraps
// at 32 bits. A blank or empty text gives 0; a character after the prefix (or after the sign,
// for decimal) that is no digit of the base gives `defaultValue`, and so does a lone `$`, while
// a lone `%`, `@` or `-` gives 0.
int ParseNumber(std::string_view text, int defaultValue);
int ParseNumberOrZero(std::string_view text);

// Upper-case hexadecimal with the fewest digits n >= minDigits for which |value| < 16^n, at most
// 8; a negative value shows its low n two's-complement digits (-1 with 4 digits is "FFFF").
std::string IntToHexStr(int value, int minDigits);

// Appends exactly `digits` upper-case hexadecimal digits of the value's low bits; for the hot
// paths (object files, listings) where IntToHexStr's general rules are not needed.
void AppendHex(std::string& text, uint32_t value, int digits);

// Exactly `digits` characters '0'/'1', lowest bit last; bits above 31 repeat the sign.
std::string IntToBinStr(int value, int digits);

} // namespace corvid
