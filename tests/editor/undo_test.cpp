#include "editor_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace corvid {
namespace {

using testing::TEditorFixture;
using Lines = std::vector<std::string>;

constexpr auto Block = TUndoRecordKind::Block;
constexpr auto InsertText = TUndoRecordKind::InsertText;

TEST(Undo, UngroupedTypingIsUndoneOneCharacterAtATime) {
    TEditorFixture f("");
    for (const char c : std::string("abc"))
        f.Editor.KeyPress(c);
    f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"ab"}));
    EXPECT_EQ(f.Caret(), (TTextPosition{0, 2}));
}

TEST(Undo, AGroupIsUndoneAndRedoneInOneStep) {
    TEditorFixture f("a\nb\nc\nd\ne\nf");
    f.Select({0, 0}, {5, 0});
    f.Editor.BlockIndent();
    const Lines indented{" a", " b", " c", " d", " e", "f"};
    EXPECT_EQ(f.Lines(), indented);
    ASSERT_EQ(f.Undo().Count(), 7);
    EXPECT_EQ(f.Undo().Record(0).Kind, Block);
    EXPECT_EQ(f.Undo().Record(1), (TTextEditorUndoRecord{InsertText, 0, 0, " "}));
    EXPECT_EQ(f.Undo().Record(6).Kind, Block);
    f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"a", "b", "c", "d", "e", "f"}));
    EXPECT_EQ(f.Undo().Position(), 0);
    f.Editor.Redo();
    EXPECT_EQ(f.Lines(), indented);
    EXPECT_EQ(f.Undo().Position(), 7);
}

TEST(Undo, NothingToUndoOrRedoChangesNothing) {
    TEditorFixture f("abc");
    f.Editor.Undo();
    f.Editor.Redo();
    EXPECT_EQ(f.Lines(), (Lines{"abc"}));
    EXPECT_FALSE(f.File.Modified);
    f.Editor.KeyPress('x');
    f.Editor.Redo();
    EXPECT_EQ(f.Lines(), (Lines{"xabc"}));
}

TEST(Undo, AnEditAfterUndoDropsTheRedoTail) {
    TEditorFixture f("");
    f.Editor.KeyPress('a');
    f.Editor.KeyPress('b');
    f.Editor.Undo();
    f.Editor.KeyPress('c');
    f.Editor.Redo();
    EXPECT_EQ(f.Lines(), (Lines{"ac"}));
    EXPECT_EQ(f.Undo().Count(), 2);
}

TEST(Undo, UndoingAJoinRestoresTheTextBeyondTheJoinColumn) {
    TEditorFixture f("abcdef\nxyz");
    f.Editor.JoinLines(0, 2);
    EXPECT_EQ(f.Lines(), (Lines{"abxyz"}));
    f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"abcdef", "xyz"}));
    EXPECT_EQ(f.Caret(), (TTextPosition{0, 6}));
}

TEST(Undo, ReplayMovesTheCaretAsEachRecordSays) {
    const struct {
        const char* what;
        void (*edit)(TTextEditor&);
        TTextPosition afterUndo;
        TTextPosition afterRedo;
    } cases[] = {
        {"insert line", [](TTextEditor& e) { e.SplitLine(0, 2); }, {0, 2}, {1, 0}},
        {"delete line", [](TTextEditor& e) { e.JoinLines(0, 1); }, {0, 4}, {0, 1}},
        {"insert text", [](TTextEditor& e) { e.InsertText("xy", 1, 1); }, {1, 1}, {1, 3}},
        {"delete text", [](TTextEditor& e) { e.DeleteText(1, 1, 2); }, {1, 3}, {1, 1}},
    };
    for (const auto& c : cases) {
        TEditorFixture f("abcd\nefgh");
        c.edit(f.Editor);
        f.Editor.Undo();
        EXPECT_EQ(f.Caret(), c.afterUndo) << c.what;
        f.Editor.Redo();
        EXPECT_EQ(f.Caret(), c.afterRedo) << c.what;
    }
}

TEST(Undo, BookmarksFollowUndoneText) {
    TEditorFixture f("abcdef");
    auto* mark = new TBookmark(0, 4);
    f.File.Bookmarks.Add(mark);
    f.Editor.DeleteText(0, 1, 4);
    EXPECT_EQ(mark->Position(), (TTextPosition{0, 1}));
    f.Editor.Undo();
    // Re-inserted text pushes a mark at its insertion column along.
    EXPECT_EQ(mark->Position(), (TTextPosition{0, 5}));
}

TEST(Undo, TheLimitDropsTheOldestRecordForEveryNewOne) {
    TEditorFixture f("");
    f.Undo().Limit = 3;
    for (const char c : std::string("abcde"))
        f.Editor.KeyPress(c);
    EXPECT_EQ(f.Undo().Count(), 3);
    EXPECT_EQ(f.Undo().Position(), 3);
    EXPECT_EQ(f.Undo().Record(0).Text, "c");
    for (int step = 0; step < 5; ++step)
        f.Editor.Undo();
    EXPECT_EQ(f.Lines(), (Lines{"ab"}));
}

TEST(Undo, AGroupThatChangesNothingLeavesTheHistoryAlone) {
    TEditorFixture f("");
    f.Editor.KeyPress('a');
    f.Editor.KeyPress('b');
    f.Editor.Undo();
    f.Editor.BlockIndent(); // no selection: nothing happens
    f.Editor.BeginUndoBlock();
    f.Editor.EndUndoBlock();
    f.Editor.Redo();
    EXPECT_EQ(f.Lines(), (Lines{"ab"}));
}

TEST(Undo, TheChangeNotificationWaitsForTheOutermostGroup) {
    TEditorFixture f("abc");
    f.Editor.BeginUndoBlock();
    f.Editor.BeginUndoBlock();
    f.Editor.InsertText("x", 0, 0);
    f.Editor.EndUndoBlock();
    EXPECT_EQ(f.View.Count("OnChanged"), 0);
    EXPECT_FALSE(f.File.Modified);
    f.Editor.EndUndoBlock();
    EXPECT_EQ(f.View.Count("OnChanged"), 1);
    EXPECT_TRUE(f.File.Modified);
}

TEST(Undo, AFileWithoutHistoryCannotUndo) {
    TTextEditor editor;
    EXPECT_FALSE(editor.UndoEnabled());
    editor.InsertText("abc", 0, 0);
    editor.Undo();
    EXPECT_EQ(editor.File().LineText(0), "abc");
}

TEST(Undo, LoadingClearsTheHistoryAndSavingKeepsItUnlessAsked) {
    TEditorFixture f("abc");
    f.Editor.KeyPress('x');
    f.File.LoadFromText("new");
    EXPECT_EQ(f.Undo().Count(), 0);

    char directory[] = "/tmp/corvid-undo-XXXXXX";
    ASSERT_TRUE(mkdtemp(directory));
    const std::string path = std::string(directory) + "/a.asm";
    f.Editor.KeyPress('y');
    f.File.SaveToFile(path);
    EXPECT_EQ(f.Undo().Count(), 1);
    f.Set([](TTextEditorOptions& o) { o.UndoAfterSave = false; });
    f.File.SaveToFile(path);
    EXPECT_EQ(f.Undo().Count(), 0);
    std::remove(path.c_str());
    rmdir(directory);
}

} // namespace
} // namespace corvid
