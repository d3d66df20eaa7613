// The editor engine on a generated 1,000,000-line (about 40 MB) assembly file: loading it
// from disk with the highlighter's full scan, typing at random places, Enter at random and at
// neighbouring places, the undo of a 10,000-line block indent, deleting a 10,000-line stream
// selection, a wildcard search over the whole file forwards and backwards, and colouring every
// line; then the same keystrokes and rows among 500,000 code-address marks, and deleting them
// all. Keystrokes and rows are reported per item.
#include "editor/syntax_highlighter.h"
#include "editor/text_editor.h"
#include "editor/undo_buffer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

namespace corvid {
namespace {

constexpr int DocumentLines = 1000000;

std::string MakeDocument() {
    static const char* const Lines[] = {
        "loop%06d  ldaa   $1000,x     ; read the port\r\n",
        "          staa   portb       ; show it %d\r\n",
        "          ldab   #%%00101101\r\n",
        "          inx                { skip %d }\r\n",
        "          cpx    #table_end  * not a comment\r\n",
        "          bne    loop%06d\r\n",
        "delay%05d ldy    #$FFFF      ; about 0.2 s\r\n",
        "* a comment line mentioning ldaa and staa %d\r\n",
    };
    std::mt19937 random(1);
    std::string text;
    text.reserve(42u * DocumentLines);
    char line[128];
    for (int index = 0; index < DocumentLines; ++index) {
        std::snprintf(line, sizeof line, Lines[random() % std::size(Lines)], index);
        text += line;
    }
    return text;
}

// The generated file on disk, written once and removed at exit.
class TDocumentFile {
public:
    TDocumentFile() {
        char name[] = "/tmp/corvid-editor-bench-XXXXXX";
        const int descriptor = mkstemp(name);
        close(descriptor);
        Path = name;
        const std::string text = MakeDocument();
        Size = text.size();
        std::ofstream(Path, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(Size));
    }
    ~TDocumentFile() { std::filesystem::remove(Path); }

    std::string Path;
    size_t Size = 0;
};

const TDocumentFile& Document() {
    static const TDocumentFile file;
    return file;
}

void MakeLanguage(TTextEditorMultiFileInfo& language) {
    language.LineCommentStart = {"*", ";"};
    language.LineCommentColumn = {1, 0};
    language.BlockCommentStart = {"{", "/*"};
    language.BlockCommentEnd = {"}", "*/"};
    language.StringQuote = '\'';
    language.Digits.Add('$');
    for (const char* word : {"ldaa", "ldab", "staa", "stab", "inx", "cpx", "bne", "ldy", "dey",
                             "rts", "jsr", "bra", "beq", "rmb"})
        language.AddReservedWord(word);
}

// An editor showing the document with the highlighter, in a window of 80 by 50.
struct TLoadedEditor {
    TTextEditorMultiFileInfo Language;
    TGoodSyntaxHighlighter Highlighter;
    TTextEditor Editor;
    TTextEditorFile File{TUndoMode::WithUndo};

    TLoadedEditor() {
        MakeLanguage(Language);
        File.Language = &Language;
        File.Highlighter = &Highlighter;
        Editor.SetFontMetrics(16, 8);
        Editor.SetClientSize(82 * 8 + 15, 50 * 16 + 15);
        Editor.SetFile(&File);
        File.LoadFromFile(Document().Path);
    }
};

TLoadedEditor& Shared() {
    static TLoadedEditor editor;
    return editor;
}

void BM_LoadFile(benchmark::State& state) {
    const TDocumentFile& document = Document();
    for (auto _ : state) {
        auto loaded = std::make_unique<TLoadedEditor>();
        benchmark::DoNotOptimize(loaded->File.LineCount());
        state.PauseTiming();
        loaded.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document.Size));
    state.counters["lines"] = Shared().File.LineCount();
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TypeAtRandomPlaces(benchmark::State& state) {
    TTextEditor& editor = Shared().Editor;
    std::mt19937 random(2);
    for (auto _ : state) {
        state.PauseTiming();
        const int line = static_cast<int>(random() % DocumentLines);
        const int column = static_cast<int>(random() % 40);
        state.ResumeTiming();
        editor.MoveCaret(line, column);
        editor.KeyPress(static_cast<char>('a' + random() % 26));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_TypeAtRandomPlaces)->Unit(benchmark::kMicrosecond)->Iterations(10000);

void BM_EnterNearTheLastOne(benchmark::State& state) {
    TTextEditor& editor = Shared().Editor;
    editor.MoveCaret(DocumentLines / 2, 5);
    editor.KeyDown(TEditorKey::Enter); // the jump there is the random case's
    for (auto _ : state)
        editor.KeyDown(TEditorKey::Enter);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_EnterNearTheLastOne)->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_EnterAtRandomPlaces(benchmark::State& state) {
    TTextEditor& editor = Shared().Editor;
    std::mt19937 random(3);
    for (auto _ : state) {
        state.PauseTiming();
        const int line = static_cast<int>(random() % DocumentLines);
        state.ResumeTiming();
        editor.MoveCaret(line, 10);
        editor.KeyDown(TEditorKey::Enter);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_EnterAtRandomPlaces)->Unit(benchmark::kMicrosecond)->Iterations(200);

void SelectLines(TTextEditor& editor, int first, int count) {
    editor.StartSelection(first, 0);
    editor.ExtendSelection(first + count, 0);
}

void BM_UndoBlockIndentOf10000Lines(benchmark::State& state) {
    TTextEditor& editor = Shared().Editor;
    for (auto _ : state) {
        state.PauseTiming();
        SelectLines(editor, 300000, 10000);
        editor.BlockIndent();
        editor.ClearSelection();
        state.ResumeTiming();
        editor.Undo();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * 10000));
}
BENCHMARK(BM_UndoBlockIndentOf10000Lines)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BlockIndentOf10000Lines(benchmark::State& state) {
    TTextEditor& editor = Shared().Editor;
    for (auto _ : state) {
        SelectLines(editor, 400000, 10000);
        editor.BlockIndent();
        state.PauseTiming();
        editor.Undo();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * 10000));
}
BENCHMARK(BM_BlockIndentOf10000Lines)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DeleteSelectionOf10000Lines(benchmark::State& state) {
    TTextEditor& editor = Shared().Editor;
    for (auto _ : state) {
        editor.StartSelection(500000, 7);
        editor.ExtendSelection(510000, 3);
        editor.DeleteSelection();
        state.PauseTiming();
        editor.Undo();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * 10000));
}
BENCHMARK(BM_DeleteSelectionOf10000Lines)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_UndoDeleteSelectionOf10000Lines(benchmark::State& state) {
    TTextEditor& editor = Shared().Editor;
    for (auto _ : state) {
        state.PauseTiming();
        editor.StartSelection(600000, 7);
        editor.ExtendSelection(610000, 3);
        editor.DeleteSelection();
        state.ResumeTiming();
        editor.Undo();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * 10000));
}
BENCHMARK(BM_UndoDeleteSelectionOf10000Lines)->Unit(benchmark::kMillisecond)->Iterations(5);

// A pattern that matches nowhere, so the whole file is searched.
void BM_WildcardSearch(benchmark::State& state) {
    TTextEditor& editor = Shared().Editor;
    const bool backwards = state.range(0) != 0;
    const int last = editor.File().LineCount() - 1;
    for (auto _ : state) {
        const auto found = backwards ? editor.Find("zq*x?y", last, 1000, foWildcards | foBackwards)
                                     : editor.Find("zq*x?y", 0, 0, foWildcards);
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Document().Size));
}
BENCHMARK(BM_WildcardSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ColourEveryLine(benchmark::State& state) {
    TTextEditor& editor = Shared().Editor;
    TColourRow row;
    const int lines = editor.File().LineCount();
    for (auto _ : state) {
        for (int line = 0; line < lines; ++line) {
            editor.ColorLine(line, row);
            benchmark::DoNotOptimize(row.Cell(0));
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * lines));
}
BENCHMARK(BM_ColourEveryLine)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PaintRow(benchmark::State& state) {
    TTextEditor& editor = Shared().Editor;
    editor.SetTopLeft(700000, 0);
    TTextEditorRow row;
    int index = 0;
    for (auto _ : state) {
        editor.PaintRow(index++ % 50, row);
        benchmark::DoNotOptimize(row.Runs.size());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_PaintRow)->Unit(benchmark::kMicrosecond);

// From here on every other line carries a code-address mark, as after assembling a large file.
void AddSymbolMarks() {
    static bool added = false;
    if (added)
        return;
    added = true;
    TLoadedEditor& shared = Shared();
    for (int line = 0; line < shared.File.LineCount(); line += 2)
        shared.File.Bookmarks.Add(new THC11SymbolBookmark(&shared.Editor, line, line));
}

void BM_TypeAmongSymbolMarks(benchmark::State& state) {
    AddSymbolMarks();
    TTextEditor& editor = Shared().Editor;
    std::mt19937 random(4);
    for (auto _ : state) {
        state.PauseTiming();
        const int line = static_cast<int>(random() % DocumentLines);
        state.ResumeTiming();
        editor.MoveCaret(line, 12);
        editor.KeyPress('q');
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.counters["marks"] = Shared().File.Bookmarks.Count();
}
BENCHMARK(BM_TypeAmongSymbolMarks)->Unit(benchmark::kMicrosecond)->Iterations(10000);

void BM_PaintRowAmongSymbolMarks(benchmark::State& state) {
    AddSymbolMarks();
    TTextEditor& editor = Shared().Editor;
    editor.SetTopLeft(800000, 0);
    TTextEditorRow row;
    int index = 0;
    for (auto _ : state) {
        editor.PaintRow(index++ % 50, row);
        benchmark::DoNotOptimize(row.Gutter.size());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_PaintRowAmongSymbolMarks)->Unit(benchmark::kMicrosecond);

void BM_EnterAmongSymbolMarks(benchmark::State& state) {
    AddSymbolMarks();
    TTextEditor& editor = Shared().Editor;
    editor.MoveCaret(DocumentLines / 3, 5);
    editor.KeyDown(TEditorKey::Enter);
    for (auto _ : state)
        editor.KeyDown(TEditorKey::Enter);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_EnterAmongSymbolMarks)->Unit(benchmark::kMicrosecond)->Iterations(200);

void BM_DeleteEverySymbolMark(benchmark::State& state) {
    AddSymbolMarks();
    TTextEditorBookmarkList& bookmarks = Shared().File.Bookmarks;
    for (auto _ : state) {
        const int deleted = bookmarks.DeleteWhere([](TTextEditorBookmark* bookmark) {
            return dynamic_cast<THC11SymbolBookmark*>(bookmark) != nullptr;
        });
        state.counters["deleted"] = deleted;
    }
}
BENCHMARK(BM_DeleteEverySymbolMark)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace corvid

BENCHMARK_MAIN();
