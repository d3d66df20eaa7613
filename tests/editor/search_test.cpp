#include "editor_fixture.h"

#include <gtest/gtest.h>

#include <optional>

namespace corvid {
namespace {

using testing::TEditorFixture;

TEST(Find, ForwardsAndBackwardsWithEveryOption) {
    const struct {
        const char* what;
        std::string text;
        std::string pattern;
        TTextPosition start;
        unsigned options;
        std::optional<TFindResult> found;
    } cases[] = {
        {"plain", "xx ab", "ab", {0, 0}, 0, TFindResult{0, 3, 2}},
        {"case ignored", "xx AB", "ab", {0, 0}, 0, TFindResult{0, 3, 2}},
        {"case sensitive", "AB ab", "ab", {0, 0}, foCaseSensitive, TFindResult{0, 3, 2}},
        {"from the start column", "ab ab", "ab", {0, 1}, 0, TFindResult{0, 3, 2}},
        {"later lines from their start", "ab\nxab", "ab", {0, 1}, 0, TFindResult{1, 1, 2}},
        {"whole word", "cab ab", "ab", {0, 0}, foWholeWord, TFindResult{0, 4, 2}},
        {"start of word", "cab abc", "ab", {0, 0}, foStartOfWord, TFindResult{0, 4, 2}},
        {"end of word", "abc cab", "ab", {0, 0}, foEndOfWord, TFindResult{0, 5, 2}},
        {"both word bits",
         "abc ab",
         "ab",
         {0, 0},
         foStartOfWord | foEndOfWord,
         TFindResult{0, 4, 2}},
        {"wildcard star", "xabbbc", "a*c", {0, 0}, foWildcards, TFindResult{0, 1, 5}},
        {"wildcard question needs a character", "ac", "a?c", {0, 0}, foWildcards, std::nullopt},
        {"wildcard escape", "a*c abc", "a/*c", {0, 1}, foWildcards, std::nullopt},
        {"not found", "abc", "zz", {0, 0}, 0, std::nullopt},
        {"empty pattern finds nothing", "abc", "", {0, 0}, 0, std::nullopt},
        {"negative line finds nothing", "abc", "a", {-1, 0}, 0, std::nullopt},
        {"negative column starts at the line", "abc", "a", {0, -1}, 0, TFindResult{0, 0, 1}},
        {"backwards", "ab ab xx", "ab", {0, 8}, foBackwards, TFindResult{0, 3, 2}},
        {"backwards ends before the column",
         "ab ab",
         "ab",
         {0, 4},
         foBackwards,
         TFindResult{0, 0, 2}},
        {"backwards whole word",
         "cab ab",
         "ab",
         {0, 6},
         foBackwards | foWholeWord,
         TFindResult{0, 4, 2}},
        {"backwards start of word",
         "abc cab",
         "ab",
         {0, 7},
         foBackwards | foStartOfWord,
         TFindResult{0, 0, 2}},
        {"backwards end of word",
         "cab abc",
         "ab",
         {0, 7},
         foBackwards | foEndOfWord,
         TFindResult{0, 1, 2}},
        {"backwards sees the word around the column",
         "abc",
         "ab",
         {0, 2},
         foBackwards | foWholeWord,
         std::nullopt},
        {"backwards over lines", "ab\nxx\nyy", "ab", {2, 1}, foBackwards, TFindResult{0, 0, 2}},
        {"backwards from column -1 starts on the line above",
         "xab\nab",
         "ab",
         {1, -1},
         foBackwards,
         TFindResult{0, 1, 2}},
        {"backwards from the first line's column -1",
         "ab",
         "ab",
         {0, -1},
         foBackwards,
         std::nullopt},
        {"backwards wildcard",
         "a1c a22c",
         "a*c",
         {0, 8},
         foBackwards | foWildcards,
         TFindResult{0, 4, 4}},
        {"backwards wildcard escape",
         "a*c abc",
         "a/*c",
         {0, 7},
         foBackwards | foWildcards,
         TFindResult{0, 0, 3}},
        {"backwards line anchors",
         "ab ab",
         "^ab",
         {0, 5},
         foBackwards | foWildcards,
         TFindResult{0, 0, 2}},
        {"backwards case sensitive",
         "AB ab AB",
         "ab",
         {0, 8},
         foBackwards | foCaseSensitive,
         TFindResult{0, 3, 2}},
    };
    for (const auto& c : cases) {
        TEditorFixture f(c.text);
        EXPECT_EQ(f.Editor.Find(c.pattern, c.start.Line, c.start.Column, c.options), c.found)
            << c.what;
    }
}

TEST(Find, SelectedTextOnly) {
    const std::string text = "ab ab ab\nab ab ab\nab ab ab";
    const struct {
        const char* what;
        TTextPosition start;
        unsigned options;
        std::optional<TFindResult> found;
    } cases[] = {
        {"forward starts at the selection", {0, 0}, 0, TFindResult{0, 3, 2}},
        {"forward from inside", {1, 4}, 0, TFindResult{1, 6, 2}},
        {"forward stops at the lower line", {2, 3}, 0, std::nullopt},
        {"backward starts at the lower end", {2, 8}, foBackwards, TFindResult{2, 0, 2}},
        {"backward stops at the upper column", {0, 3}, foBackwards, std::nullopt},
        {"backward from the middle", {1, 5}, foBackwards, TFindResult{1, 3, 2}},
    };
    for (const auto& c : cases) {
        TEditorFixture f(text);
        f.Select({0, 2}, {2, 3});
        EXPECT_EQ(f.Editor.Find("ab", c.start.Line, c.start.Column, c.options | foSelectedText),
                  c.found)
            << c.what;
    }

    TEditorFixture f("abcdef");
    f.Select({0, 0}, {0, 4});
    EXPECT_FALSE(f.Editor.Find("de", 0, 0, foSelectedText));
    EXPECT_FALSE(f.Editor.Find("b*e", 0, 0, foSelectedText | foWildcards));
    EXPECT_EQ(f.Editor.Find("cd", 0, 0, foSelectedText), (TFindResult{0, 2, 2}));
    EXPECT_FALSE(f.Editor.Find("de", 0, 6, foSelectedText | foBackwards));
    f.Editor.ClearSelection();
    EXPECT_FALSE(f.Editor.Find("cd", 0, 0, foSelectedText));
}

} // namespace
} // namespace corvid
