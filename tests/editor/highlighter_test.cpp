#include "editor_fixture.h"

#include <gtest/gtest.h>

#include <random>

namespace corvid {
namespace {

using testing::TEditorFixture;

// A C-like language: block comments /* */ and { }, line comments // anywhere and * at column 1;
// every colour class has colours of its own.
void MakeLanguage(TTextEditorMultiFileInfo& language) {
    for (int colourClass = 0; colourClass < ColourClassCount; ++colourClass)
        language.Colors[colourClass] = {0x10u + colourClass, 0x100u + colourClass};
    language.BlockCommentStart = {"/*", "{"};
    language.BlockCommentEnd = {"*/", "}"};
    language.LineCommentStart = {"//", "*"};
    language.LineCommentColumn = {0, 1};
    language.StringQuote = '"';
    language.StringEscape = '\\';
    language.ConstantPrefix = '#';
}

struct THighlighted : TEditorFixture {
    TTextEditorMultiFileInfo Language;
    explicit THighlighted(const std::string& text) : TEditorFixture() {
        MakeLanguage(Language);
        File.Language = &Language;
        File.Highlighter = &Highlighter;
        File.LoadFromText(text);
        Set([](TTextEditorOptions& o) { o.ShowCaretLineFG = false; });
    }
    std::vector<int> CommentFlags() const {
        std::vector<int> flags;
        for (int line = 0; line < File.LineCount(); ++line)
            flags.push_back(File.Lines.Get(line).Flags & lfBlockCommentMask);
        return flags;
    }
    // The colour class of every character of a line, as a digit string.
    std::string Classes(int line) {
        TColourRow row;
        Editor.ColorLine(line, row);
        std::string classes;
        for (size_t column = 0; column < File.LineText(line).size(); ++column) {
            const TColourCell& cell = row.Cell(static_cast<int>(column));
            char found = '?';
            for (int colourClass = 0; colourClass < ColourClassCount; ++colourClass)
                if (Language.Colors[colourClass] == TColourPair{cell.Text, cell.Back})
                    found = static_cast<char>('0' + colourClass);
            classes += found;
        }
        return classes;
    }
};

// What a fresh scan of the whole text gives.
std::vector<int> Rescanned(const TTextEditorFile& file) {
    TTextEditorFile copy;
    TTextEditorMultiFileInfo language;
    MakeLanguage(language);
    copy.Language = &language;
    copy.LoadRemovesTrailingBlanks = false;
    copy.LoadFromText(file.Text());
    TGoodSyntaxHighlighter highlighter;
    highlighter.RescanAll(copy);
    std::vector<int> flags;
    for (int line = 0; line < copy.LineCount(); ++line)
        flags.push_back(copy.Lines.Get(line).Flags & lfBlockCommentMask);
    return flags;
}

TEST(CommentFlags, AnOpeningAndAClosingLine) {
    THighlighted f("a /* b\nc */ d\ne");
    EXPECT_EQ(f.CommentFlags(), (std::vector<int>{0x01, 0x06, 0x00}));
    EXPECT_EQ(f.Classes(1), "666631");
}

TEST(CommentFlags, FollowEdits) {
    THighlighted f("a /* b\nc */ d\ne\nf\ng /* h */\ni */");
    // Every line gets 0x02 when a scan from inside a comment ends outside.
    EXPECT_EQ(f.CommentFlags(), (std::vector<int>{0x01, 0x06, 0, 0, 0x02, 0x02}));
    f.Editor.DeleteText(1, 2, 2); // the comment end goes
    EXPECT_EQ(f.CommentFlags(), (std::vector<int>{0x01, 0x04, 0x04, 0x04, 0x06, 0x02}));
    f.Editor.InsertText("*/", 1, 2);
    EXPECT_EQ(f.CommentFlags(), (std::vector<int>{0x01, 0x06, 0, 0, 0x02, 0x02}));
    f.Editor.InsertText("{", 3, 0);
    EXPECT_EQ(f.CommentFlags(), (std::vector<int>{0x01, 0x06, 0, 0x01, 0x06, 0x02}));
    f.Editor.SplitLine(0, 2);
    EXPECT_EQ(f.CommentFlags(), (std::vector<int>{0, 0x01, 0x06, 0, 0x01, 0x06, 0x02}));
    f.Editor.JoinLines(0, 2);
    EXPECT_EQ(f.CommentFlags(), Rescanned(f.File));
}

// "/*/" opens when entered from outside and closes when entered from inside, so a change of
// its start state changes what it hands on.
TEST(CommentFlags, ALineThatBothOpensAndClosesHandsOnTheOppositeState) {
    THighlighted f("x\n/*/\ny\nz");
    EXPECT_EQ(f.CommentFlags(), (std::vector<int>{0, 0x03, 0x04, 0x04}));
    f.Editor.InsertText("{", 0, 1);
    EXPECT_EQ(f.CommentFlags(), (std::vector<int>{0x01, 0x07, 0, 0}));
    f.Editor.DeleteText(0, 1, 1);
    EXPECT_EQ(f.CommentFlags(), (std::vector<int>{0, 0x03, 0x04, 0x04}));
}

TEST(CommentFlags, ALineCommentEndsTheScanAndRespectsItsColumn) {
    THighlighted f("x // /*\n* /*\n /* *\ny");
    EXPECT_EQ(f.CommentFlags(), (std::vector<int>{0x00, 0x00, 0x01, 0x04}));
}

TEST(CommentFlags, RandomEditsAgreeWithAFullRescan) {
    std::mt19937 random(7);
    const char* pieces[] = {"/*", "*/", "{", "}", "//", "x", " ", "*"};
    std::string text;
    for (int line = 0; line < 40; ++line) {
        text += line ? "\n" : "";
        for (int piece = random() % 4; piece > 0; --piece)
            text += pieces[random() % std::size(pieces)];
    }
    THighlighted f(text);
    f.Set([](TTextEditorOptions& o) { o.RemoveTrailingBlanks = false; });
    for (int step = 0; step < 2000; ++step) {
        const int line = static_cast<int>(random() % static_cast<unsigned>(f.File.LineCount()));
        const int column = static_cast<int>(random() % 6);
        switch (random() % 4) {
        case 0:
            f.Editor.InsertText(pieces[random() % std::size(pieces)], line, column);
            break;
        case 1:
            f.Editor.DeleteText(line, column, 1 + static_cast<int>(random() % 3));
            break;
        case 2:
            f.Editor.SplitLine(line, column);
            break;
        default:
            f.Editor.JoinLines(line, column);
        }
        ASSERT_EQ(f.CommentFlags(), Rescanned(f.File)) << "step " << step;
    }
}

TEST(CommentFlags, AVeryLongCommentPropagatesWithoutRecursion) {
    std::string text;
    for (int line = 0; line < 200000; ++line)
        text += "/* x\n";
    THighlighted f(text + "end");
    f.Editor.InsertText("*/", 0, 0);
    EXPECT_EQ(f.File.Lines.Get(1).Flags & lfBlockCommentMask, 0x01);
    f.Editor.DeleteText(0, 0, 2);
    EXPECT_EQ(f.File.Lines.Get(200000).Flags & lfBlockCommentMask, 0x04);
}

TEST(Colouring, TheStatesOfALine) {
    const struct {
        std::string text;
        std::string classes;
    } cases[] = {
        {"abc_1 12 x", "1111134431"},
        {"\"a\\\"b\" c", "55555531"},
        {"#12 #x", "555351"},
        {"a // b", "137777"},
        {"* star", "777777"},
        {"a * b", "13331"},
        {"a /* b */ c", "13666666631"},
        {"{a} b", "66661"},
        {"a /* b } c", "1366666661"}, // any end closes, coloured as long as the first end
        {"0x1F", "4444"},
    };
    for (const auto& c : cases) {
        THighlighted f(c.text);
        EXPECT_EQ(f.Classes(0), c.classes) << c.text;
    }
}

TEST(Colouring, ReservedWords) {
    const struct {
        bool caseSensitive;
        std::string text;
        std::string classes;
    } cases[] = {
        {false, "LDAA x", "222231"},   {false, "ldaa x", "222231"},
        {false, "LdAa x", "222231"},   {true, "LDAA x", "111131"},
        {true, "ldaa x", "222231"},    {false, "ldaa1 ldaax", "11111311111"},
        {false, "ldab ld", "2222311"}, {false, "#define", "ppppppp"},
        {false, "x+ldaa", "132222"},
    };
    for (const auto& c : cases) {
        THighlighted f(c.text);
        f.Language.CaseSensitive = c.caseSensitive;
        f.Language.Colors[ccReservedWord] = {0x123456, NavyColor};
        for (const char* word : {"ldab", "ldaa", "ld_x", "ldx"})
            f.Language.AddReservedWord(word);
        f.Language.Colors[ccReservedWord] = {AquaColor, 0x000001};
        f.Language.AddReservedWord("#define");
        f.Language.Colors[ccReservedWord] = {0x123456, NavyColor};
        std::string classes = f.Classes(0);
        for (char& c : classes)
            if (c == '?')
                c = 'p';
        EXPECT_EQ(classes, c.classes) << c.text;
    }
}

TEST(Colouring, ExtraWordsAreSearchedAfterTheReservedWords) {
    THighlighted f("loop label");
    TTextEditorReservedWordList symbols;
    symbols.Add(new TTextEditorReservedWord("LABEL", {0x111111, NavyColor}));
    f.Language.ExtraWords = &symbols;
    TColourRow row;
    f.Editor.ColorLine(0, row);
    EXPECT_EQ(row.Cell(0).Text, f.Language.Colors[ccIdentifier].Text);
    EXPECT_EQ(row.Cell(5).Text, 0x111111u);
    EXPECT_EQ(row.Cell(9).Text, 0x111111u);
}

TEST(Colouring, PrioritiesDecideBetweenContributors) {
    THighlighted f("abcdef\nxyz");
    f.Set([](TTextEditorOptions& o) {
        o.ShowCaretLineFG = true;
        o.ShowCaretLineBG = true;
    });
    TColourRow row;
    f.Editor.ColorLine(0, row);
    EXPECT_EQ(row.Cell(0).Text, WhiteColor);
    EXPECT_EQ(row.Cell(0).Back, 0x400000u);
    EXPECT_EQ(row.EndOfLineFill(), 0x400000u);
    f.Select({0, 1}, {0, 3});
    auto* highlight = new TTextEditorHighlightWordHelper(f.Editor);
    f.Editor.Helpers.Add(highlight);
    highlight->Line = 0;
    highlight->StartColumn = 2;
    highlight->EndColumn = 4;
    highlight->Show();
    f.Editor.ColorLine(0, row);
    const TColor selection = f.Language.Colors[ccSelection].Back;
    const TColor word = f.Language.Colors[ccHighlightedWord].Back;
    EXPECT_EQ(row.Cell(1).Back, selection);
    EXPECT_EQ(row.Cell(2).Back, word); // the word (200) over the selection (100)
    EXPECT_EQ(row.Cell(4).Back, word);
    EXPECT_EQ(row.Cell(5).Back, 0x400000u);
    f.Editor.MoveCaret(1, 0);
    EXPECT_FALSE(highlight->Active());
}

TEST(ColourRow, SpansTouchOnlyVisibleColumnsAndRespectPriorities) {
    TColourRow row;
    row.Reset(10, 5, {1, 2});
    row.ColorSpan(8, 11, {3, 4}, 0);
    EXPECT_EQ(row.Cell(10).Text, 3u);
    EXPECT_EQ(row.Cell(12).Text, 1u);
    row.ColorText(11, 30, 5, 100);
    row.ColorText(11, 11, 6, 50);
    EXPECT_EQ(row.Cell(11).Text, 5u);
    EXPECT_EQ(row.Cell(14).Text, 5u);
    row.ColorText(11, 11, 7, 100);
    EXPECT_EQ(row.Cell(11).Text, 7u);
    row.Reset(0, 100000, {1, 2});
    EXPECT_EQ(row.VisibleColumns(), TColourRow::MaximumColumns);
}

TEST(ReservedWordList, BucketsAfterSorting) {
    TTextEditorReservedWordList list;
    for (const char* word : {"beta", "Alpha", "_x", "alps", "b"})
        list.Add(new TTextEditorReservedWord(word, {}));
    list.BuildIndex();
    std::vector<std::string> sorted;
    for (const TTextEditorReservedWord* word : list)
        sorted.push_back(word->Text);
    EXPECT_EQ(sorted, (std::vector<std::string>{"Alpha", "alps", "b", "beta", "_x"}));
    EXPECT_EQ(list.Bucket('a').First, 0);
    EXPECT_EQ(list.Bucket('A').Count, 2);
    EXPECT_EQ(list.Bucket('b').First, 2);
    EXPECT_EQ(list.Bucket('z').First, -1);
    EXPECT_EQ(list.Bucket('z').Count, 0);
    const TCharSet word = TCharSet::WordCharacters();
    EXPECT_EQ(list.Match("x alps", 2, word, false)->Text, "alps");
    EXPECT_EQ(list.Match("ALPHA.", 0, word, false)->Text, "Alpha");
    EXPECT_EQ(list.Match("b+", 0, word, false)->Text, "b");
    EXPECT_EQ(list.Match("alp", 0, word, false), nullptr);
}

} // namespace
} // namespace corvid
