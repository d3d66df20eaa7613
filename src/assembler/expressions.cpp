// Operand values: every operator has the same precedence and applies strictly from left to
// right (2+3*4 is 20), values wrap at 32 bits, and a name that is not known yet gives a
// provisional 0 with the ForwardReference flag set.

#include "assembler/assembly.h"

#include "parsing/asm_tokens.h"

#include <climits>
#include <stdexcept>

namespace corvid {

namespace {

bool IsOperator(int symbol) {
    return symbol >= AsmSymbolStar && symbol <= AsmSymbolSlash;
}

bool IsBinaryDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("01") == std::string_view::npos;
}

// The value of the digits of a base up to the first character that is none, wrapping at 32
// bits. That is what ParseNumber gives for a number token, whose form the scanner has checked
// already: an octal number stops at an 8 or 9, and is 0 when it starts with one.
int DigitsValue(std::string_view digits, unsigned base) {
    uint32_t value = 0;
    for (const char c : digits) {
        const unsigned digit = c <= '9' ? static_cast<unsigned>(c - '0')
                                        : static_cast<unsigned>((c | 0x20) - 'a' + 10);
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    return static_cast<int>(value);
}

// $ hexadecimal, @ octal, plain decimal.
int NumberValue(std::string_view text) {
    switch (text.front()) {
    case '$':
        return DigitsValue(text.substr(1), 16);
    case '@':
        return DigitsValue(text.substr(1), 8);
    default:
        return DigitsValue(text, 10);
    }
}

int Wrap(int64_t value) {
    return static_cast<int>(static_cast<uint32_t>(value));
}

} // namespace

int TAssembly::Expr() {
    ForwardReference = false;
    Expect();
    int value = Term();
    for (;;) {
        if (!Next() || Current->Kind != tkSymbol) {
            Back();
            return value;
        }
        const int symbol = Current->Id;
        if (!IsOperator(symbol)) {
            // ':', ',', '#', '>' and '<' end the expression; the token before them is its last.
            Back();
            return value;
        }
        Next();
        value = Combine(symbol, value, Term());
    }
}

int TAssembly::ResolvedExpr() {
    const int value = Expr();
    if (ForwardReference && PassNumber == 2)
        Raise("Error:Phasing error");
    return value;
}

int TAssembly::Combine(int symbol, int left, int right) {
    const int64_t a = left;
    const int64_t b = right;
    switch (symbol) {
    case AsmSymbolStar:
        return Wrap(a * b);
    case AsmSymbolPlus:
        return Wrap(a + b);
    case AsmSymbolMinus:
        return Wrap(a - b);
    case AsmSymbolCaret:
        return left ^ right;
    case AsmSymbolBar:
        return left | right;
    case AsmSymbolAmpersand:
        return left & right;
    }
    // Division and remainder: a zero divisor only matters once the value is final.
    if (right == 0) {
        if (ForwardReference)
            return left;
        Raise("Error:Division by zero");
    }
    if (left == INT_MIN && right == -1)
        throw std::overflow_error("Integer overflow");
    return symbol == AsmSymbolSlash ? left / right : left % right;
}

int TAssembly::Term() {
    switch (Current->Kind) {
    case tkIdentifier:
        return NameValue();
    case tkNumber:
        return NumberValue(Text());
    case tkString: {
        const std::string_view text = Text();
        if (text.size() == 1)
            return static_cast<unsigned char>(text[0]);
        if (text.size() == 2)
            return static_cast<unsigned char>(text[0]) * 256 + static_cast<unsigned char>(text[1]);
        break;
    }
    case tkSymbol:
        switch (Current->Id) {
        case AsmSymbolStar:
            if (AddressKnown)
                return StatementStart;
            ForwardReference = true;
            return 0;
        case AsmSymbolPlus:
            Expect();
            return Term();
        case AsmSymbolMinus:
            Expect();
            return Wrap(-static_cast<int64_t>(Term()));
        case AsmSymbolPercent:
            Expect();
            if (Current->Kind != tkNumber || !IsBinaryDigits(Text()))
                Raise("Error:Error in expression");
            return DigitsValue(Text(), 2);
        case AsmSymbolHash:
            Raise("Error:Unexpected #");
        }
        break;
    }
    Raise("Error:Error in expression");
}

int TAssembly::NameValue() {
    const TAsmLabel* label = Assembler.FindLabel(Text());
    if (!label) {
        if (PassNumber == 2)
            Raise("Error:Undeclared identifier");
        ForwardReference = true;
        return 0;
    }
    const bool known = label->IsAddress ? label->AddressKnown : label->HasValue;
    if (!known) {
        ForwardReference = true;
        return 0;
    }
    return label->IsAddress ? label->Address : label->Value;
}

} // namespace corvid
