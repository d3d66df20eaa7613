#include "editor_fixture.h"

#include <gtest/gtest.h>

#include <random>

namespace corvid {
namespace {

using testing::TEditorFixture;

// The stream deletion as the primitives compose it line by line: the middle lines joined away
// at column 0 from the bottom up, the start of the last line deleted, the first line joined.
void DeleteSelectionLineByLine(TTextEditor& editor) {
    const TTextEditorSelectionBookmark& selection = editor.Selection();
    const TDeletedRange range{selection.UpperLine(), selection.UpperColumn(), selection.LowerLine(),
                              selection.LowerColumn()};
    const TTextPosition caret =
        AfterRangeDeleted({editor.CaretLine(), editor.CaretColumn()}, range);
    editor.BeginUndoBlock();
    if (range.UpperLine == range.LowerLine) {
        editor.DeleteText(range.UpperLine, range.UpperColumn,
                          range.LowerColumn - range.UpperColumn);
    } else {
        for (int line = range.LowerLine - 1; line > range.UpperLine; --line)
            editor.JoinLines(line, 0);
        editor.DeleteText(range.UpperLine + 1, 0, range.LowerColumn);
        editor.JoinLines(range.UpperLine, range.UpperColumn);
    }
    editor.EndUndoBlock();
    editor.ClearSelection();
    editor.PlaceCaret(caret.Line, caret.Column);
}

struct TScenario {
    std::string Text;
    bool RemoveTrailingBlanks;
    TTextPosition From;
    TTextPosition To;
    TTextPosition Caret;
    std::vector<TTextPosition> Marks;
    std::vector<std::pair<TTextPosition, TTextPosition>> Regions;
};

TScenario RandomScenario(std::mt19937& random) {
    const char* pieces[] = {"a", "bc", " ", "  ", "/*", "*/", "//", "x y", "\t"};
    auto pick = [&](int below) {
        return static_cast<int>(random() % static_cast<unsigned>(below));
    };
    TScenario scenario;
    const int lines = 2 + pick(12);
    for (int line = 0; line < lines; ++line) {
        if (line > 0)
            scenario.Text += "\n";
        for (int piece = pick(6); piece > 0; --piece)
            scenario.Text += pieces[pick(static_cast<int>(std::size(pieces)))];
    }
    scenario.RemoveTrailingBlanks = pick(2) == 0;
    auto place = [&] { return TTextPosition{pick(lines), pick(12)}; };
    scenario.From = place();
    scenario.To = place();
    scenario.Caret = place();
    for (int mark = pick(8); mark > 0; --mark)
        scenario.Marks.push_back(place());
    for (int region = pick(3); region > 0; --region)
        scenario.Regions.emplace_back(place(), place());
    return scenario;
}

struct TRun {
    TEditorFixture Fixture;
    TTextEditorMultiFileInfo Language;
    std::vector<TTextEditorBookmark*> Marks;
    std::vector<TTextEditorRegionBookmark*> Regions;

    explicit TRun(const TScenario& scenario) {
        Language.BlockCommentStart[0] = "/*";
        Language.BlockCommentEnd[0] = "*/";
        Language.LineCommentStart[0] = "//";
        TEditorFixture& f = Fixture;
        f.File.Language = &Language;
        f.File.Highlighter = &f.Highlighter;
        f.Set([](TTextEditorOptions& o) { o.RemoveTrailingBlanks = false; });
        f.File.LoadFromText(scenario.Text);
        if (scenario.RemoveTrailingBlanks)
            f.Set([](TTextEditorOptions& o) { o.RemoveTrailingBlanks = true; });
        for (const TTextPosition& place : scenario.Marks) {
            Marks.push_back(new TBookmark(place.Line, place.Column));
            f.File.Bookmarks.Add(Marks.back());
        }
        for (const auto& [start, end] : scenario.Regions) {
            auto* region = new TTextEditorRegionBookmark;
            region->SetPosition(start.Line, start.Column);
            region->SetEndPosition(end.Line, end.Column);
            Regions.push_back(region);
            f.File.Bookmarks.Add(region);
        }
        f.Editor.MoveCaret(scenario.Caret.Line, scenario.Caret.Column);
        f.Select(scenario.From, scenario.To);
    }

    // Text, the comment and modified marks of every line, every mark's place.
    std::string State() const {
        const TTextEditorFile& file = Fixture.File;
        std::string state;
        for (int line = 0; line < file.LineCount(); ++line) {
            state += std::string(file.LineText(line)) + "|";
            state += std::to_string(file.Lines.Get(line).Flags & (lfBlockCommentMask | lfModified));
            state += "\n";
        }
        for (const TTextEditorBookmark* mark : Marks)
            state += std::to_string(mark->Line()) + "," + std::to_string(mark->Column()) + " ";
        for (const TTextEditorRegionBookmark* region : Regions)
            state +=
                std::to_string(region->EndLine()) + "," + std::to_string(region->EndColumn()) + " ";
        state += "caret " + std::to_string(Fixture.Editor.CaretLine()) + "," +
                 std::to_string(Fixture.Editor.CaretColumn());
        return state;
    }
};

std::vector<std::string> Trimmed(const TTextEditorFile& file) {
    std::vector<std::string> lines = testing::LinesOf(file);
    for (std::string& line : lines)
        line.erase(line.find_last_not_of(' ') + 1);
    return lines;
}

TEST(DeleteSelection, OneStepDeletionEqualsTheLineByLineComposition) {
    std::mt19937 random(20240607);
    int multiLine = 0;
    for (int round = 0; round < 3000; ++round) {
        const TScenario scenario = RandomScenario(random);
        TRun fast(scenario);
        TRun naive(scenario);
        if (!fast.Fixture.Editor.HasSelection())
            continue;
        multiLine += fast.Fixture.Editor.Selection().UpperLine() !=
                     fast.Fixture.Editor.Selection().LowerLine();
        fast.Fixture.Editor.DeleteSelection();
        DeleteSelectionLineByLine(naive.Fixture.Editor);
        ASSERT_EQ(fast.State(), naive.State()) << "round " << round << "\n" << scenario.Text;
        ASSERT_EQ(fast.Fixture.Records(), naive.Fixture.Records()) << "round " << round;
        fast.Fixture.Editor.Undo();
        naive.Fixture.Editor.Undo();
        ASSERT_EQ(fast.State(), naive.State()) << "round " << round << " (undone)";
        // Up to trailing blanks: the rule trims the lines undo touches, and without it the
        // padding of a join beyond a line's end stays.
        TTextEditorFile original;
        original.LoadTabSize = 2;
        original.LoadFromText(scenario.Text);
        ASSERT_EQ(Trimmed(fast.Fixture.File), testing::LinesOf(original)) << "round " << round;
    }
    EXPECT_GT(multiLine, 1000);
}

} // namespace
} // namespace corvid
