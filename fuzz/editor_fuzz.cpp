// Random sequences of editing commands, keys, mouse actions, undo and redo on a small document.
// After every step the document keeps at least one line, the caret stays in it and every
// bookmark (the selection's ends included) lies in it or at (-1, -1); at the end, undoing
// everything gives back the text first loaded. Input: a document of up to 255 bytes (its
// length first), then one command per group of four bytes.
#include "editor/code_templates.h"
#include "editor/syntax_highlighter.h"
#include "editor/text_editor.h"
#include "editor/undo_buffer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace corvid;

namespace {

class TInput {
public:
    TInput(const uint8_t* data, size_t size) : Data(data), Size(size) {}
    bool Empty() const { return Offset >= Size; }
    uint8_t Byte() { return Offset < Size ? Data[Offset++] : 0; }
    // A small number, now and then one outside the document.
    int Place() {
        const int value = Byte();
        return value >= 250 ? 1000 - value * 5 : value % 24;
    }
    std::string Text(size_t length) {
        std::string text;
        while (text.size() < length && !Empty())
            text += static_cast<char>(Byte());
        return text;
    }

private:
    const uint8_t* Data;
    size_t Size;
    size_t Offset = 0;
};

class TClipboardView : public TTextEditorView {
public:
    std::string Clipboard;
    std::string ClipboardText() override { return Clipboard; }
    void SetClipboardText(const std::string& text) override { Clipboard = text; }
};

constexpr size_t MaximumText = 1 << 14;

bool TooLarge(const TTextEditorFile& file) {
    size_t size = 0;
    for (int line = 0; line < file.LineCount() && size <= MaximumText; ++line)
        size += file.LineText(line).size() + 1;
    return size > MaximumText;
}

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool InDocument(TTextPosition place, int lineCount) {
    return (place.Line == -1 && place.Column == -1) ||
           (place.Line >= 0 && place.Line < lineCount && place.Column >= 0);
}

void CheckInvariants(const TTextEditor& editor) {
    const TTextEditorFile& file = editor.File();
    const int lines = file.LineCount();
    Check(lines >= 1);
    Check(editor.CaretLine() >= 0 && editor.CaretLine() < lines && editor.CaretColumn() >= 0);
    Check(editor.TopLine() >= 0 && editor.TopLine() < lines);
    for (const TTextEditorBookmark* bookmark : file.Bookmarks) {
        Check(InDocument(bookmark->Position(), lines));
        if (const auto* region = dynamic_cast<const TTextEditorRegionBookmark*>(bookmark))
            Check(InDocument(region->EndPosition(), lines));
    }
}

TShiftState Shift(uint8_t bits) {
    return {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
}

void Toggle(TTextEditor& editor, uint8_t which) {
    TTextEditorOptions options = editor.Options();
    switch (which % 6) {
    case 0:
        options.AutoIndent = !options.AutoIndent;
        break;
    case 1:
        options.SmartTabs = !options.SmartTabs;
        break;
    case 2:
        options.OverwriteBlocks = !options.OverwriteBlocks;
        break;
    case 3:
        options.PersistentBlocks = !options.PersistentBlocks;
        break;
    case 4:
        options.TabSize = which % 5;
        break;
    default:
        options.Modifiable = !options.Modifiable;
        break;
    }
    editor.SetOptions(options);
}

void Step(TTextEditor& editor, TClipboardView& view, TInput& input) {
    const uint8_t command = input.Byte();
    const uint8_t a = input.Byte();
    const int line = input.Place();
    const int column = input.Place();
    switch (command % 32) {
    case 0:
    case 1:
    case 2:
        return editor.KeyPress(static_cast<char>(a));
    case 3:
    case 4:
        return editor.KeyDown(static_cast<TEditorKey>(a % 13), Shift(a >> 4));
    case 5:
        return editor.InsertText(input.Text(a % 8), line, column);
    case 6:
        return editor.DeleteText(line, column, a % 12 - 2);
    case 7:
        return editor.SplitLine(line, column);
    case 8:
        return editor.JoinLines(line, column);
    case 9:
        return editor.MoveCaret(line, column, Shift(a));
    case 10:
        return editor.StartSelection(line, column, Shift(a));
    case 11:
        return editor.ExtendSelection(line, column);
    case 12:
        return editor.SetSelectionMode(a % 2 ? smBlock : smStream);
    case 13:
        return editor.DeleteSelection();
    case 14:
        return a % 2 ? editor.BlockIndent() : editor.BlockUndent();
    case 15:
        view.Clipboard = input.Text(a % 16);
        return editor.Paste();
    case 16:
        return editor.PasteIntoRows();
    case 17:
        return editor.DuplicateLine(line);
    case 18:
        return a % 2 ? editor.DeleteLine() : editor.DeleteWord();
    case 19:
        return editor.DeleteToEndOfLine(line, column);
    case 20:
        return editor.ReplaceText(line, column, input.Text(a % 6), a % 7 - 1);
    case 21:
        return editor.TypeText(input.Text(a % 12));
    case 22:
    case 23:
        return editor.Undo();
    case 24:
        return editor.Redo();
    case 25:
        return editor.SetOverwrite(a % 2 == 1);
    case 26:
        return Toggle(editor, a);
    case 27:
        editor.MouseDown(line * 7, column * 9, Shift(a));
        editor.MouseMove(column * 11, line * 5, Shift(a >> 3));
        return editor.MouseUp();
    case 28: {
        const std::string pattern = input.Text(a % 4);
        if (auto found = editor.Find(pattern, line, column, a))
            Check(found->Line >= 0 && found->Line < editor.File().LineCount() &&
                  found->Column >= 0);
        return;
    }
    case 29:
        if (line >= 0 && line < editor.File().LineCount())
            editor.File().Bookmarks.Add(new TBookmark(line, column < 0 ? 0 : column));
        return;
    case 30: {
        TTextEditorTemplate codeTemplate;
        codeTemplate.Text = input.Text(a % 10) + "$cursor$" + input.Text(a % 3);
        codeTemplate.ParameterPrompt = "p";
        codeTemplate.Parameter = "x y";
        return ExpandTemplate(codeTemplate, editor, {"d", "t"});
    }
    default:
        editor.SetTopLeft(line, column);
        return editor.GotoLineCentered(column);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TInput input(data, size);
    const std::string original = input.Text(input.Byte());

    TClipboardView view;
    TTextEditorMultiFileInfo language;
    language.BlockCommentStart = {"/*", "{"};
    language.BlockCommentEnd = {"*/", "}"};
    language.LineCommentStart = {"//", "*"};
    language.LineCommentColumn = {0, 1};
    TGoodSyntaxHighlighter highlighter;
    TTextEditor editor;
    TTextEditorFile file(TUndoMode::WithUndo);
    file.Language = &language;
    file.Highlighter = &highlighter;
    editor.SetView(&view);
    editor.Helpers.Add(new TTextEditorParenthesisDiagramHelper(editor));
    editor.SetFile(&file);
    file.LoadFromText(original);
    const std::string loaded = file.Text();

    TTextEditorRow row;
    for (int steps = 0; !input.Empty() && steps < 400 && !TooLarge(file); ++steps) {
        Step(editor, view, input);
        CheckInvariants(editor);
        editor.PaintRow(steps % 30, row);
        // Copying and pasting the pasted text doubles it; the inputs stay about edits.
        if (view.Clipboard.size() > MaximumText)
            view.Clipboard.resize(MaximumText);
    }
    while (file.UndoBuffer()->Position() > 0)
        editor.Undo();
    Check(file.Text() == loaded);
    editor.SetFile(nullptr);
    return 0;
}
