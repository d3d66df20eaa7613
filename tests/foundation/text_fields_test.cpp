#include "foundation/text_fields.h"

#include "foundation/extract_pattern.h"
#include "text_reference.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

namespace corvid {
namespace {

struct ParamCase {
    std::string text;
    int n;
    std::string expected;
};

const ParamCase ParamCases[] = {
    {"one two", 2, "two"},
    {"one", 2, ""},
    {"  a  b", 1, "a"},
    {"  a  b", 2, "b"},
    {"a b ", 2, "b"},
    {"a b ", 3, ""},
    {"   ", 1, ""},
    {"", 1, ""},
    {"one two", 0, ""},
    {"one two", -1, ""},
    // A one-byte loop count would wrap here and give word 1 again.
    {"a b", 257, ""},
    {"a b ", 1'000'000, ""},
    {"a b ", INT_MAX, ""},
};

TEST(GetParam, Cases) {
    for (const ParamCase& c : ParamCases)
        EXPECT_EQ(GetParam(c.text, c.n), c.expected) << "'" << c.text << "' word " << c.n;
}

TEST(GetParamSep, SplitsAtTheSeparator) {
    EXPECT_EQ(GetParamSep("Configuration\\Serial\\COM1", 2, '\\'), "Serial");
    EXPECT_EQ(GetParamSep("Configuration\\Serial\\COM1", 3, '\\'), "COM1");
    EXPECT_EQ(GetParamSep("Configuration\\Serial\\COM1", 4, '\\'), "");
    EXPECT_EQ(GetParamSep("a b\\c", 1, '\\'), "a b");
    EXPECT_EQ(GetParamSep("\\\\x", 1, '\\'), "x");
    EXPECT_EQ(GetParamSep("a[b]c", 2, '['), "b]c");
    EXPECT_EQ(GetParamSep("a[b]c", 2, ']'), "c");
}

std::string RandomText(std::mt19937& random, std::string_view alphabet, int maxLength) {
    std::string text(std::uniform_int_distribution<int>(0, maxLength)(random), ' ');
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    for (char& c : text)
        c = alphabet[pick(random)];
    return text;
}

TEST(GetParam, AgreesWithTheExtractionPattern) {
    std::mt19937 random(42);
    for (int i = 0; i < 300; ++i) {
        const std::string text = RandomText(random, "ab  \\x", 30);
        for (int n = 1; n <= 256; ++n) {
            ASSERT_EQ(GetParam(text, n), ExtractPattern(text, reference::GetParamPattern(n)))
                << "'" << text << "' word " << n;
            ASSERT_EQ(GetParamSep(text, n, '\\'),
                      ExtractPattern(text, reference::GetParamSepPattern(n, '\\')))
                << "'" << text << "' field " << n;
        }
    }
}

// Texts with more than 256 words, where the pattern can still count all of them.
TEST(GetParam, AgreesWithTheExtractionPatternOnLongTexts) {
    std::mt19937 random(5);
    for (int i = 0; i < 20; ++i) {
        const std::string text = RandomText(random, "a  b", 700);
        for (int n = 1; n <= 256; ++n)
            ASSERT_EQ(GetParam(text, n), ExtractPattern(text, reference::GetParamPattern(n)))
                << "'" << text << "' word " << n;
    }
}

TEST(PadRight, ExtendsOrCuts) {
    EXPECT_EQ(PadRight("ab", 4), "ab  ");
    EXPECT_EQ(PadRight("abcdef", 4), "abcd");
    EXPECT_EQ(PadRight("abcd", 4), "abcd");
    EXPECT_EQ(PadRight("ab", 0), "");
    EXPECT_EQ(PadRight("ab", -3), "");
}

TEST(PadLeft, AlignsRightAndKeepsTheLastCharacters) {
    EXPECT_EQ(PadLeft("ab", 4), "  ab");
    EXPECT_EQ(PadLeft("abcdef", 4), "cdef");
    EXPECT_EQ(PadLeft("ab", 0), "");
    EXPECT_EQ(PadLeft("ab", -1), "");
}

TEST(ExpandTabs, ReplacesEachTabByTheSameCount) {
    EXPECT_EQ(ExpandTabs("x\ty", 4), "x    y");
    EXPECT_EQ(ExpandTabs("\t\t", 2), "    ");
    EXPECT_EQ(ExpandTabs("abc\t", 0), "abc");
    EXPECT_EQ(ExpandTabs("a\tb", -2), "ab");
}

TEST(TextFields, SmallConveniences) {
    std::string text("ab\0cd", 5);
    TruncateAtNul(text);
    EXPECT_EQ(text, "ab");
    TruncateAtNul(text);
    EXPECT_EQ(text, "ab");

    text = "abc";
    DeleteCharAt(2, text);
    EXPECT_EQ(text, "ac");
    for (int outside : {0, -1, 3})
        DeleteCharAt(outside, text);
    EXPECT_EQ(text, "ac");

    EXPECT_TRUE(CharInString('b', "abc"));
    EXPECT_FALSE(CharInString('B', "abc"));
    EXPECT_FALSE(CharInString('a', ""));

    EXPECT_TRUE(StartsWithText("ab", "ABC"));
    EXPECT_TRUE(StartsWithText("ABC", "ab"));
    EXPECT_TRUE(StartsWithText("", "abc"));
    EXPECT_FALSE(StartsWithText("abd", "ABC"));
    EXPECT_FALSE(StartsWithText("a_", "a\x7f"));

    EXPECT_EQ(ReverseText("abc"), "cba");
    EXPECT_EQ(ReverseText(""), "");
}

} // namespace
} // namespace corvid
