#include "foundation/extract_pattern.h"

#include "text_reference.h"

#include <gtest/gtest.h>

#include <string>

namespace corvid {
namespace {

struct PatternCase {
    const char* what;
    std::string text;
    std::string pattern;
    std::string expected;
};

const PatternCase PatternCases[] = {
    // The patterns the program uses, verbatim.
    {"name up to the first dot", "name.tar.gz", "msffc.rt[-]mecm", "name"},
    {"name without a dot", "name", "msffc.rt[-]mecm", "name"},
    {"leading dot stays", ".x.asm", "msffc.rt[-]mecm", "."},
    {"empty name", "", "msffc.rt[-]mecm", ""},
    {"second word", "one two", reference::GetParamPattern(2), "two"},
    {"missing second word", "one", reference::GetParamPattern(2), ""},
    {"first word after blanks", "  a  b", reference::GetParamPattern(1), "a"},
    {"first word", "one two", "msffc rt[-]mecm", "one"},
    {"first word of a single word", "one", "msffc rt[-]mecm", "one"},
    {"rest after the first word", "cmd  rest of it", "ffc ffn rt[msce]", "rest of it"},
    {"rest of a text without blank is its last character", "abc", "ffc ffn rt[msce]", "c"},
    {"leading blanks and first word", "  word rest", "msffn ffc rt[-]mecm", "  word"},
    {"rest after a word that follows blanks", "  word  rest", "ffn ffc ffn rt[msce]", "rest"},
    {"after the colon", "abc: d", "ffc:rt[+msce]", " d"},
    {"no colon", "abc", "ffc:rt[+msce]", ""},
    {"colon as last character", "abc:", "ffc:rt[+msce]", ":"},
    {"before the semicolon", "ab;cd", "msffc;rt[-mecm]", "ab"},
    {"no semicolon", "abcd", "msffc;rt[-mecm]", ""},
    {"semicolon first", ";cd", "msffc;rt[-mecm]", ";"},
    // Positions.
    {"go to the end", "abc", "gecp", "c"},
    {"go to the start", "abc", "gecpgscp", "ca"},
    {"plus stops at the last character", "abc", "+++cp", "c"},
    {"minus stops at the first character", "abc", "-cp", "a"},
    {"gp is no command", "abc", "gegpcp", "c"},
    // Finds.
    {"find back", "a.b.c", "gefbc.cp", "."},
    {"find back then step", "a.b.c", "gefbc.-cp", "b"},
    {"find back fails to position 1", "abc", "gefbcxcp", "a"},
    {"find back failure clears the flag", "abc", "gefbcx rf[ca\"no\"]", "no"},
    {"find back a non-blank", "ab  ", "gefbn cp", "b"},
    {"find a non-x fails to the last character", "xaaa", "+msffnamecm", "aaa"},
    {"find a non-x failure clears the flag", "aaa", "ffnarf[ca\"none\"]", "none"},
    {"find fails to the last character", "abc", "ffcxcp", "c"},
    {"blank operand", "a b", "ffc cp", " "},
    {"quote operand", "a\"b", "ffc\"cp", "\""},
    {"bracket operand", "a[b", "ffc[rt[cp]", "["},
    // Copies.
    {"marks in the wrong order copy nothing", "abc", "gemsgsmecm", ""},
    {"ce counts from the mark start", "abcdef", "++ms gs ce", "abcd"},
    {"literal text", "xyz", "ca\"hi\"cp", "hix"},
    {"unterminated literal text", "xyz", "ca\"hi", "hi"},
    {"ca without quote is no command", "xyz", "cacp", "x"},
    {"commands inside quotes are text", "xyz", "ca\"cp\"", "cp"},
    // Blocks.
    {"flag starts true", "abc", "rt[cp]", "a"},
    {"false flag skips rf blocks", "abc", "rf[cp]ca\"z\"", "z"},
    {"rn while empty", "abc", "rn[cp]rn[ca\"x\"]", "a"},
    {"nested skip", "abc", "ffcx rt[ rt[cp] cp ] ca\"k\"", "k"},
    {"unmatched bracket ends the run", "abc", "ffcx rt[cp ca\"k\"", ""},
    {"quit", "abc", "cpqcp", "a"},
    // Loops.
    {"loop twice more", "abc", std::string("[cp+]l\x02"), "abc"},
    {"loop count 0", "abc", std::string("[cp+]l\0", 7), "a"},
    {"inner count stays used up", "abcdefghij", std::string("[[cp+]l\x01 ca\"|\"]l\x01"), "ab|c|"},
    {"loop without its bracket repeats from the start", "abc", std::string("cp+]l\x01"), "ab"},
    {"loop without count is no loop", "abc", "[cp+]l", "a"},
    // An empty text.
    {"every copy of an empty text is empty", "", "gsgecp+-cmcemsme ca\"k\"", "k"},
    {"finds in an empty text fail", "", "ffcx rf[ca\"none\"]", "none"},
};

TEST(ExtractPattern, Cases) {
    for (const PatternCase& c : PatternCases)
        EXPECT_EQ(ExtractPattern(c.text, c.pattern), c.expected) << c.what;
}

TEST(ExtractPattern, LoopCountsLiveInAPrivateCopy) {
    const std::string pattern("[cp+]l\x02");
    EXPECT_EQ(ExtractPattern("abc", pattern), "abc");
    EXPECT_EQ(pattern, std::string("[cp+]l\x02"));
    EXPECT_EQ(ExtractPattern("abc", pattern), "abc");
}

// Each level of d nested loops with count 255 first runs its inner loop to the end, then repeats
// 255 times with every inner count used up: C(1) = 256, C(k) = C(k-1) + 1 + 255k copies.
TEST(ExtractPattern, NestedLoopsEnd) {
    for (int depth : {1, 3, 40, 200}) {
        std::string pattern(static_cast<size_t>(depth), '[');
        for (int i = 0; i < depth; ++i)
            pattern += "cp]l\xff";
        long expected = 256;
        for (int k = 2; k <= depth; ++k)
            expected += 1 + 255L * k;
        const std::string result = ExtractPattern("x", pattern);
        EXPECT_EQ(static_cast<long>(result.size()), expected) << "depth " << depth;
        EXPECT_EQ(result.find_first_not_of('x'), std::string::npos);
    }
}

} // namespace
} // namespace corvid
