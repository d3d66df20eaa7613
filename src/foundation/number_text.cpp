#include "foundation/number_text.h"

#include <algorithm>

#include <cstdint>
#include <cstdlib>

namespace corvid {
namespace {

// The value of c as a digit, or a value >= any base when it is none.
unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    return 16;
}

unsigned BaseOfPrefix(char c) {
    switch (c) {
    case '$':
        return 16;
    case '%':
        return 2;
    case '@':
        return 8;
    default:
        return 10;
    }
}

} // namespace

int ParseNumber(std::string_view text, int defaultValue) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return 0;
    text.remove_prefix(first);
    const bool negative = text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const unsigned base = text.empty() ? 10 : BaseOfPrefix(text.front());
    if (base != 10)
        text.remove_prefix(1);
    if (text.empty())
        return base == 16 ? defaultValue : 0;
    if (DigitValue(text.front()) >= base)
        return defaultValue;
    // Unsigned arithmetic wraps at 32 bits as stored values expect, without overflow traps.
    std::uint32_t value = 0;
    for (char c : text) {
        const unsigned digit = DigitValue(c);
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    return static_cast<int>(negative ? 0u - value : value);
}

int ParseNumberOrZero(std::string_view text) {
    return ParseNumber(text, 0);
}

std::string IntToHexStr(int value, int minDigits) {
    constexpr int MaxDigits = 8;
    const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(value));
    int digits = minDigits < 0 ? 0 : (minDigits > MaxDigits ? MaxDigits : minDigits);
    while (digits < MaxDigits && magnitude >= (std::int64_t{1} << (4 * digits)))
        ++digits;
    static constexpr char HexDigits[] = "0123456789ABCDEF";
    const auto bits = static_cast<std::uint32_t>(value);
    std::string text(static_cast<size_t>(digits), '0');
    for (int i = 0; i < digits; ++i)
        text[static_cast<size_t>(digits - 1 - i)] = HexDigits[(bits >> (4 * i)) & 0xF];
    return text;
}

std::string IntToBinStr(int value, int digits) {
    if (digits <= 0)
        return {};
    std::string text(static_cast<size_t>(digits), '0');
    for (int i = 0; i < digits; ++i)
        if ((value >> (i < 31 ? i : 31)) & 1)
            text[static_cast<size_t>(digits - 1 - i)] = '1';
    return text;
}

void AppendHex(std::string& text, uint32_t value, int digits) {
    static constexpr char HexDigits[] = "0123456789ABCDEF";
    char buffer[8];
    digits = std::clamp(digits, 0, 8);
    for (int index = digits - 1; index >= 0; --index, value >>= 4)
        buffer[index] = HexDigits[value & 0xF];
    text.append(buffer, static_cast<size_t>(digits));
}

} // namespace corvid
