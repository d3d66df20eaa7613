#pragma once

#include "editor/syntax_highlighter.h"
#include "editor/text_editor.h"
#include "editor/text_editor_view.h"
#include "editor/undo_buffer.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace corvid {

inline void PrintTo(const TTextPosition& place, std::ostream* out) {
    *out << "(" << place.Line << ", " << place.Column << ")";
}

inline void PrintTo(const TFindResult& found, std::ostream* out) {
    *out << "line " << found.Line << " column " << found.Column << " length " << found.Length;
}

inline void PrintTo(const TTextEditorUndoRecord& record, std::ostream* out) {
    *out << "{" << static_cast<int>(record.Kind) << " " << record.Line << "," << record.Column
         << " \"" << record.Text << "\"}";
}

} // namespace corvid

namespace corvid::testing {

// A view that writes down everything the engine tells it.
class TRecordingView : public TTextEditorView {
public:
    std::vector<std::string> Calls;
    std::string Clipboard;
    TScrollBars Bars;
    TCaretShape CaretShape;

    void RepaintLines(int first, int last) override {
        Calls.push_back("lines " + std::to_string(first) + "-" + std::to_string(last));
    }
    void RepaintFrom(int line) override { Calls.push_back("from " + std::to_string(line)); }
    void RepaintAll() override { Calls.push_back("all"); }
    void ScrollRows(int delta) override { Calls.push_back("scroll " + std::to_string(delta)); }
    void UpdateScrollBars(const TScrollBars& bars) override {
        Bars = bars;
        Calls.push_back("bars");
    }
    void UpdateCaret(const TCaretShape& caret) override {
        CaretShape = caret;
        Calls.push_back("caret");
    }
    std::string ClipboardText() override { return Clipboard; }
    void SetClipboardText(const std::string& text) override { Clipboard = text; }
    void OnChanged() override { Calls.push_back("OnChanged"); }
    void OnCaretMoved() override { Calls.push_back("OnCaretMoved"); }
    void OnSelectionChanged() override { Calls.push_back("OnSelectionChanged"); }
    void OnModifiedChanged() override { Calls.push_back("OnModifiedChanged"); }
    void OnLineCountChanged() override { Calls.push_back("OnLineCountChanged"); }
    void OnTopLeftMoved() override { Calls.push_back("OnTopLeftMoved"); }
    void OnOverwriteChanged() override { Calls.push_back("OnOverwriteChanged"); }

    int Count(const std::string& call) const {
        int count = 0;
        for (const std::string& made : Calls)
            count += made == call ? 1 : 0;
        return count;
    }
};

inline std::vector<std::string> LinesOf(const TTextEditorFile& file) {
    std::vector<std::string> lines;
    for (int index = 0; index < file.LineCount(); ++index)
        lines.emplace_back(file.LineText(index));
    return lines;
}

// An editor showing a file with undo, with a recording view, 8x16 pixel characters and a
// window of 80 columns by 20 rows.
// The view outlives the editor, and the file goes first: the editor tells the view when its
// file goes away.
struct TEditorFixture {
    TRecordingView View;
    TGoodSyntaxHighlighter Highlighter;
    TTextEditor Editor;
    TTextEditorFile File{TUndoMode::WithUndo};

    explicit TEditorFixture(const std::string& text = "") {
        Editor.SetView(&View);
        Editor.SetFontMetrics(16, 8);
        Editor.SetClientSize((80 + 2) * 8 + ScrollBarThickness, 20 * 16 + ScrollBarThickness);
        File.LoadFromText(text);
        Editor.SetFile(&File);
        View.Calls.clear();
    }

    std::vector<std::string> Lines() const { return LinesOf(File); }
    TTextEditorUndoBuffer& Undo() { return *File.UndoBuffer(); }
    std::vector<TTextEditorUndoRecord> Records() {
        std::vector<TTextEditorUndoRecord> records;
        for (int index = 0; index < Undo().Count(); ++index)
            records.push_back(Undo().Record(index));
        return records;
    }
    TTextPosition Caret() const { return {Editor.CaretLine(), Editor.CaretColumn()}; }
    void Set(void (*change)(TTextEditorOptions&)) {
        TTextEditorOptions options = Editor.Options();
        change(options);
        Editor.SetOptions(options);
    }
    void Select(TTextPosition from, TTextPosition to) {
        Editor.StartSelection(from.Line, from.Column);
        Editor.ExtendSelection(to.Line, to.Column);
    }
};

} // namespace corvid::testing
