#include "foundation/text_search.h"

#include "text_reference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace corvid {
namespace {

constexpr unsigned W = soWildcards;
constexpr unsigned Word = soWordStart | soWordEnd;
constexpr int Untouched = -99;

struct SearchCase {
    const char* what;
    std::string pattern;
    std::string text;
    int start;
    unsigned options;
    int expected;
    int matchLength;   // a failed search must leave it alone
    int nextLineStart; // Untouched when the search must leave it alone
};

const SearchCase SearchCases[] = {
    {"star takes the shortest stretch", "a*c", "xxabbbcx", 1, W, 3, 5, Untouched},
    {"star whose rest is missing", "a*z", "abc", 1, W, -1, 0, Untouched},
    {"whole word skips the inner match", "cat", "concat cat", 1, Word, 8, 3, Untouched},
    {"plain search finds the inner match", "cat", "concat cat", 1, 0, 4, 3, Untouched},
    {"whole word after a longer word", "ab", "cab ab", 1, Word, 5, 2, Untouched},
    {"star from the first a", "a*c", "xabbbc", 1, W, 2, 5, Untouched},
    {"question mark needs a character", "a?c", "ac", 1, W, -1, 0, Untouched},
    {"empty pattern at the start", "", "abc", 1, 0, 1, 0, Untouched},
    {"empty pattern keeps a far start", "", "abc", 7, 0, 7, 0, Untouched},
    {"start below 1 counts as 1", "", "abc", -3, 0, 1, 0, Untouched},
    {"start below 1 for a real pattern", "a", "abc", -5, 0, 1, 1, Untouched},
    {"start after the text", "a", "abc", 4, 0, -1, 0, Untouched},
    {"case folds without the option", "ABC", "xabc", 1, 0, 2, 3, Untouched},
    {"case kept with the option", "ABC", "xabc", 1, soCaseSensitive, -1, 0, Untouched},
    {"case folds pattern too", "abc", "xABC", 1, 0, 2, 3, Untouched},
    {"only ASCII letters fold", "\xe9", "\xc9", 1, 0, -1, 0, Untouched},
    {"underscore is an identifier character", "cat", "_cat", 1, soWordStart, -1, 0, Untouched},
    {"dollar is no identifier character", "cat", "$cat", 1, soWordStart, 2, 3, Untouched},
    {"word end rejects a plural", "cat", "cats cat", 1, soWordEnd, 6, 3, Untouched},
    {"single line stops at CR LF", "b", "a\r\nb", 1, soSingleLine, -1, 0, 4},
    {"single line stops at a lone CR", "b", "a\rb", 1, soSingleLine, -1, 0, 3},
    {"single line at a CR as first character", "x", "\rx", 1, soSingleLine, -1, 0, 2},
    {"single line ignores LF", "b", "a\nb", 1, soSingleLine, 3, 1, Untouched},
    {"match may run across the CR", "a\rb", "xa\rb", 1, soSingleLine, 2, 3, Untouched},
    {"CR found although the pattern cannot fit", "abcd", "ab\rc", 1, soSingleLine, -1, 0, 4},
    {"bracket matches any character", "a[c", "abc", 1, W, 1, 3, Untouched},
    {"bracket is literal without wildcards", "a[c", "abc a[c", 1, 0, 5, 3, Untouched},
    {"slash escapes a star", "a/*c", "abc a*c", 1, W, 5, 3, Untouched},
    {"slash escapes a question mark", "/?", "a?", 1, W, 2, 1, Untouched},
    {"slash escapes a letter in any case", "/a", "A", 1, W, 1, 1, Untouched},
    {"trailing slash is literal", "a/", "xa/", 1, W, 2, 2, Untouched},
    {"caret at the first character", "^ab", "abab", 1, W, 1, 2, Untouched},
    {"caret nowhere else", "^ab", "xab", 1, W, -1, 0, Untouched},
    {"caret from a later start", "^ab", "abab", 2, W, -1, 0, Untouched},
    {"dollar after the last character", "b$", "ab", 1, W, 2, 1, Untouched},
    {"dollar at a CR", "b$", "ab\rc", 1, W, 2, 1, Untouched},
    {"dollar not before another character", "b$", "abc", 1, W, -1, 0, Untouched},
    {"dollar alone matches a CR", "$", "ab\r", 1, W, 3, 0, Untouched},
    {"dollar alone has no place past the end", "$", "ab", 1, W, -1, 0, Untouched},
    {"anchors together on a line", "^ab$", "ab\rab", 1, W, 1, 2, Untouched},
    {"dollar then the CR itself", "b$\r", "ab\r", 1, W, 2, 2, Untouched},
    {"lone star matches nothing at the start", "*", "abc", 1, W, 1, 0, Untouched},
    {"lone star from a later start", "*", "abc", 3, W, 3, 0, Untouched},
    {"lone star on an empty text", "*", "", 1, W, -1, 0, Untouched},
    {"trailing star inside the text", "a*", "abc", 1, W, 1, 1, Untouched},
    {"trailing star past the end", "c*", "abc", 1, W, 3, 1, Untouched},
    {"shortest stretch, not the longest", "a*b", "aXbXb", 1, W, 1, 3, Untouched},
    {"two stars", "a*b*c", "xaYbZZc", 1, W, 2, 6, Untouched},
    {"double star", "a**c", "abc", 1, W, 1, 3, Untouched},
    {"failed rest ends the whole search", "a?*d", "aa\rd", 1, W | soSingleLine, -1, 0, 4},
    {"star match skips the word options", "ca*", "xcat", 1, W | Word, 2, 2, Untouched},
    {"plain match keeps the word options", "cat", "xcat", 1, W | Word, -1, 0, Untouched},
    {"stars after the end keep the word options", "cat*", "xcat", 1, W | soWordStart, -1, 0,
     Untouched},
    {"rest after a star keeps its word options", "a*cat", "a concat cat", 1, W | Word, 1, 12,
     Untouched},
    {"rest stops at CR LF", "a*c", "ab\r\nc", 1, W | soSingleLine, -1, 0, 5},
    {"wildcard characters are literal without the option", "a*c", "abc a*c", 1, 0, 5, 3, Untouched},
    {"pattern longer than the text", "abcd", "abc", 1, W, -1, 0, Untouched},
};

TEST(SearchText, Cases) {
    for (const SearchCase& c : SearchCases) {
        SCOPED_TRACE(c.what);
        TSearchResult result{Untouched, Untouched};
        EXPECT_EQ(SearchText(c.pattern, c.text, c.start, c.options, &result), c.expected);
        EXPECT_EQ(result.MatchLength, c.expected > 0 ? c.matchLength : Untouched);
        EXPECT_EQ(result.NextLineStart, c.nextLineStart);
        EXPECT_EQ(SearchText(c.pattern, c.text, c.start, c.options), c.expected);
    }
}

TEST(SearchText, ManyStarsNeitherOverflowTheStackNorBlowUp) {
    const std::string stars(1'000'000, '*');
    TSearchResult result{};
    EXPECT_EQ(SearchText(stars, "abc", 2, W, &result), 2);
    EXPECT_EQ(result.MatchLength, 0);

    std::string pattern;
    for (int i = 0; i < 200'000; ++i)
        pattern += "a*";
    const std::string text(100'000, 'a');
    EXPECT_EQ(SearchText(pattern, text, 1, W), -1);
    EXPECT_EQ(SearchText(pattern.substr(0, 100'000), text, 1, W, &result), 1);
    EXPECT_EQ(result.MatchLength, 50'000);
}

struct ReplaceCase {
    const char* what;
    std::string text;
    std::string find;
    std::string replacement;
    unsigned options;
    std::string expected;
    int count;
};

const ReplaceCase ReplaceCases[] = {
    {"a replacement is never searched again", "aaaa", "aa", "a", 0, "aa", 2},
    {"empty find replaces nothing", "abc", "", "x", 0, "abc", 0},
    {"longer text containing the find", "abab", "ab", "xaby", 0, "xabyxaby", 2},
    {"growing replacement", "xax", "x", "xx", 0, "xxaxx", 2},
    {"case-insensitive", "abB", "B", "x", 0, "axx", 2},
    {"zero-length match moves on by one", "abc", "*", "-", W, "-a-b-c", 3},
    {"anchor repeats while the text shrinks", "aaa", "^a", "", W, "", 3},
    {"end anchors", "a\rb\r", "$", "!", W, "a!\rb!\r", 2},
    {"word start sees the replacement", "abab", "ab", "-", soWordStart, "--", 2},
    {"word start sees the replacement's letter", "a-a-", "a-", "x", soWordStart, "xa-", 1},
    {"deleting every match", "a.b.c", ".", "", 0, "abc", 2},
    {"single line stops at the first line end", "ab\rab", "b", "x", soSingleLine, "ax\rab", 1},
    {"no match", "abc", "x", "y", 0, "abc", 0},
};

TEST(ReplaceAllText, Cases) {
    for (const ReplaceCase& c : ReplaceCases) {
        SCOPED_TRACE(c.what);
        std::string text = c.text;
        EXPECT_EQ(ReplaceAllText(text, c.find, c.replacement, c.options), c.count);
        EXPECT_EQ(text, c.expected);
    }
}

struct MaskCase {
    std::string fileName;
    std::string masks;
    int expected;
};

const MaskCase MaskCases[] = {
    {"prog.asm", "*.asm", 1},
    {"PROG.ASM", "*.asm", 1},
    {"prog.asm", "*.c;*.asm", 1},
    {"prog.asm", "*.c", -1},
    {"prog.cpp", "*.c", -1},
    {"prog.c", "*.c*", 1},
    {"prog.cpp", "*.c*", 1},
    {"Makefile", "*.", 1},
    {"Makefile", "*.*", 1},
    {"a.b", "*.", -1},
    {"", "*.*", 1},
    {"", "*.", 1},
    {"", "*", 1},
    {"", "*.asm", -1},
    // The star takes the shortest stretch, so the first ".asm" ends the match.
    {"x.asm.asm", "*.asm", -1},
    {"prog.asm", ";;*.asm;", 1},
    {"prog.asm", "", -1},
    {"prog.asm", ";", -1},
    {"dir.d/Makefile", "*.", 1},
    {"/home/u/my.c.d/prog.c", "*.c", 1},
    {"a", "?", -1},
    {"a", "?.", 1},
    {"prog", "p*", 1},
    {"xprog", "p*", -1},
    {"prog.s19", "prog.s??", 1},
};

TEST(MatchesMaskList, Cases) {
    for (const MaskCase& c : MaskCases)
        EXPECT_EQ(MatchesMaskList(c.fileName, c.masks), c.expected)
            << "'" << c.fileName << "' against '" << c.masks << "'";
}

std::string RandomText(std::mt19937& random, std::string_view alphabet, int maxLength) {
    std::string text(std::uniform_int_distribution<int>(0, maxLength)(random), ' ');
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    for (char& c : text)
        c = alphabet[pick(random)];
    return text;
}

constexpr std::string_view TextAlphabet = "aAbB_ -\r\n*";
constexpr std::string_view PatternAlphabet = "aAbB_ -\r*?[/^$";

TEST(SearchText, AgreesWithTheRecursiveForm) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 300'000; ++i) {
        const std::string pattern = RandomText(random, PatternAlphabet, 6);
        const std::string text = RandomText(random, TextAlphabet, 14);
        const int start = std::uniform_int_distribution<int>(-1, 16)(random);
        const unsigned options = std::uniform_int_distribution<unsigned>(0, 31)(random);
        TSearchResult expected{Untouched, Untouched};
        TSearchResult actual{Untouched, Untouched};
        const int expectedPosition =
            reference::RecursiveSearchText(pattern, text, start, options, &expected);
        ASSERT_EQ(SearchText(pattern, text, start, options, &actual), expectedPosition)
            << "pattern '" << pattern << "' text '" << text << "' start " << start << " options "
            << options;
        ASSERT_EQ(actual.NextLineStart, expected.NextLineStart);
        ASSERT_EQ(actual.MatchLength, expected.MatchLength);
    }
}

TEST(ReplaceAllText, AgreesWithReplacingInPlace) {
    std::mt19937 random(7);
    for (int i = 0; i < 100'000; ++i) {
        const std::string find = RandomText(random, PatternAlphabet, 4);
        const std::string replacement = RandomText(random, TextAlphabet, 3);
        const unsigned options = std::uniform_int_distribution<unsigned>(0, 31)(random);
        std::string expected = RandomText(random, TextAlphabet, 16);
        std::string actual = expected;
        const std::string original = expected;
        const int expectedCount =
            reference::InPlaceReplaceAllText(expected, find, replacement, options);
        ASSERT_EQ(ReplaceAllText(actual, find, replacement, options), expectedCount)
            << "text '" << original << "' find '" << find << "' replacement '" << replacement
            << "' options " << options;
        ASSERT_EQ(actual, expected);
    }
}

} // namespace
} // namespace corvid
