#include "foundation/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace corvid {
namespace {

struct ParseCase {
    std::string text;
    int defaultValue;
    int expected;
};

const ParseCase ParseCases[] = {
    {"$1F", 0, 31},
    {"%101", 0, 5},
    {"@17", 0, 15},
    {"-12", 0, -12},
    {"$G", 7, 7},
    {"   ", 7, 0},
    {"", 7, 0},
    {"$", 7, 7},
    {"%", 7, 0},
    {"@", 7, 0},
    {"-", 7, 0},
    {"-$", 7, 7},
    {"12AB", 7, 12},
    {"$1G", 7, 1},
    {"  42", 7, 42},
    {"-$10", 7, -16},
    {"$ff", 7, 255},
    {"%102", 7, 2},
    {"@78", 7, 7},
    {"%2", 7, 7},
    {"@9", 7, 7},
    {"abc", 7, 7},
    {"+5", 7, 7},
    {"- 5", 7, 7},
    {"$-1", 7, 7},
    {"\t5", 7, 7},
    {"12 34", 7, 12},
    {"007", 7, 7},
    {"-0", 7, 0},
    {"4294967295", 0, -1},
    {"4294967296", 0, 0},
    {"2147483648", 0, INT_MIN},
    {"-2147483648", 0, INT_MIN},
    {"$FFFFFFFF", 0, -1},
    {"$123456789", 0, 0x23456789},
    {"%11111111111111111111111111111111", 0, -1},
};

TEST(ParseNumber, Cases) {
    for (const ParseCase& c : ParseCases)
        EXPECT_EQ(ParseNumber(c.text, c.defaultValue), c.expected)
            << "'" << c.text << "' default " << c.defaultValue;
}

TEST(ParseNumber, OrZeroUsesZeroAsDefault) {
    EXPECT_EQ(ParseNumberOrZero("$G"), 0);
    EXPECT_EQ(ParseNumberOrZero("$10"), 16);
    EXPECT_EQ(ParseNumberOrZero("12: text"), 12);
}

struct HexCase {
    int value;
    int minDigits;
    std::string expected;
};

const HexCase HexCases[] = {
    {255, 4, "00FF"},
    {0, 0, ""},
    {0, 1, "0"},
    {15, 0, "F"},
    {16, 0, "10"},
    {16, 1, "10"},
    {-1, 4, "FFFF"},
    {-1, 0, "F"},
    {-1, 2, "FF"},
    {-16, 0, "F0"},
    {-256, 2, "F00"},
    {INT_MIN, 0, "80000000"},
    {INT_MAX, 0, "7FFFFFFF"},
    {0x1234, 2, "1234"},
    {5, 12, "00000005"},
    {5, -3, "5"},
    {0xABCDEF, 0, "ABCDEF"},
    {-1, 8, "FFFFFFFF"},
};

TEST(IntToHexStr, Cases) {
    for (const HexCase& c : HexCases)
        EXPECT_EQ(IntToHexStr(c.value, c.minDigits), c.expected)
            << c.value << " with " << c.minDigits << " digits";
}

struct BinCase {
    int value;
    int digits;
    std::string expected;
};

const BinCase BinCases[] = {
    {5, 4, "0101"},
    {5, 2, "01"},
    {0, 1, "0"},
    {-1, 8, "11111111"},
    {0x80, 8, "10000000"},
    {1, 0, ""},
    {1, -1, ""},
    {-1, 34, std::string(34, '1')},
    {INT_MIN, 33, "11" + std::string(31, '0')},
    {1, 40, std::string(39, '0') + "1"},
};

TEST(IntToBinStr, Cases) {
    for (const BinCase& c : BinCases)
        EXPECT_EQ(IntToBinStr(c.value, c.digits), c.expected)
            << c.value << " with " << c.digits << " digits";
}

} // namespace
} // namespace corvid
