#include "editor/text_editor.h"

#include "editor/text_editor_scopes.h"

#include <algorithm>

namespace corvid {

namespace {

constexpr char BackspaceCharacter = 8;
constexpr char TabCharacter = 9;
constexpr char EnterCharacter = 13;

// Printable ASCII and the printable Latin-1 range, which loading keeps as well.
bool IsPrintable(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 32 && byte <= 126) || byte >= 160;
}

bool IsKeyCharacter(char c) {
    return c == BackspaceCharacter || c == TabCharacter || c == EnterCharacter;
}

} // namespace

void TTextEditor::KeyPress(char character) {
    if (IsPrintable(character) || IsKeyCharacter(character))
        TypeCharacter(character);
}

void TTextEditor::KeyDown(TEditorKey key, TShiftState shift) {
    switch (key) {
    case TEditorKey::Backspace:
        return TypeCharacter(BackspaceCharacter);
    case TEditorKey::Tab:
        return TypeCharacter(TabCharacter);
    case TEditorKey::Enter:
        return TypeCharacter(EnterCharacter);
    case TEditorKey::Delete:
        return DeleteKey(shift);
    case TEditorKey::Insert:
        return InsertKey(shift);
    default:
        return NavigationKey(key, shift);
    }
}

// The character handling of a key press.
void TTextEditor::TypeCharacter(char character) {
    if (!OptionsValue.Modifiable)
        return;
    TUpdateScope update(*this);
    DeleteSelectionBeforeTyping();
    switch (character) {
    case BackspaceCharacter:
        return Backspace();
    case TabCharacter:
        return Tab();
    case EnterCharacter:
        return Enter();
    default:
        if (IsPrintable(character))
            TypePrintable(std::string_view(&character, 1));
    }
}

void TTextEditor::DeleteSelectionBeforeTyping() {
    if (OptionsValue.OverwriteBlocks && !OptionsValue.PersistentBlocks && HasSelection())
        DeleteSelection();
}

void TTextEditor::TypePrintable(std::string_view text) {
    const int line = CaretLine();
    const int column = CaretColumn();
    if (OverwriteValue) {
        TUndoGroupScope group(*this);
        DeleteText(line, column, static_cast<int>(text.size()));
        InsertText(text, line, column);
    } else {
        InsertText(text, line, column);
    }
    PlaceCaret(line, column + static_cast<int>(text.size()));
}

void TTextEditor::Backspace() {
    const int line = CaretLine();
    const int column = CaretColumn();
    // In the virtual space after the text there is no character to take: the caret only moves.
    if (column > LineLength(line)) {
        PlaceCaret(line, column - 1);
        return;
    }
    if (OverwriteValue) {
        if (column == 0)
            return;
        {
            TUndoGroupScope group(*this);
            DeleteText(line, column - 1, 1);
            InsertText(" ", line, column - 1);
        }
        PlaceCaret(line, column - 1);
        return;
    }
    if (column == 0) {
        if (line == 0)
            return;
        const int end = LineLength(line - 1);
        PlaceCaret(line - 1, end);
        JoinLines(line - 1, end);
        return;
    }
    DeleteText(line, column - 1, 1);
    PlaceCaret(line, column - 1);
}

void TTextEditor::Enter() {
    const int line = CaretLine();
    if (OverwriteValue) {
        PlaceCaret(line + 1, AutoIndentColumn(line + 1));
        return;
    }
    TUndoGroupScope group(*this);
    SplitLine(line, CaretColumn());
    const int indent = AutoIndentColumn(line + 1);
    PlaceCaret(line + 1, indent);
    InsertText(std::string(static_cast<size_t>(indent), ' '), line + 1, 0);
}

void TTextEditor::Tab() {
    const int line = CaretLine();
    const int column = CaretColumn();
    PlaceCaret(line, column + InsertTab(line, column));
}

void TTextEditor::DeleteKey(TShiftState shift) {
    if (OptionsValue.AutoCopyCutPaste && shift.Ctrl) {
        DeleteSelection();
        return;
    }
    if (!OptionsValue.Modifiable)
        return;
    TUpdateScope update(*this);
    DeleteSelectionBeforeTyping();
    const int line = CaretLine();
    const int column = CaretColumn();
    if (column >= LineLength(line))
        JoinLines(line, column);
    else
        DeleteText(line, column, 1);
}

void TTextEditor::InsertKey(TShiftState shift) {
    if (OptionsValue.AutoCopyCutPaste && shift.Ctrl)
        return CopyToClipboard();
    if (OptionsValue.AutoCopyCutPaste && shift.Shift)
        return Paste();
    SetOverwrite(!OverwriteValue);
}

void TTextEditor::TypeText(std::string_view text) {
    if (!OptionsValue.Modifiable)
        return;
    TUpdateScope update(*this);
    TUndoGroupScope group(*this);
    size_t index = 0;
    while (index < text.size()) {
        if (!IsPrintable(text[index])) {
            TypeCharacter(text[index++]);
            continue;
        }
        const size_t start = index;
        while (index < text.size() && IsPrintable(text[index]))
            ++index;
        TypePrintable(text.substr(start, index - start));
    }
}

int TTextEditor::InsertTab(int line, int column) {
    const int count =
        std::max(OptionsValue.SmartTabs ? SmartTabWidth(line, column) : OptionsValue.TabSize, 0);
    InsertText(std::string(static_cast<size_t>(count), ' '), line, column);
    return count;
}

int TTextEditor::SmartTabWidth(int line, int column) const {
    const int fallback = std::max(OptionsValue.TabSize, 1);
    if (line <= 0 || line >= Shown->LineCount() || column < 0)
        return fallback;
    for (int above = line - 1; above >= 0; --above) {
        const std::string_view text = LineText(above);
        const size_t start = static_cast<size_t>(column);
        if (text.size() <= start || text.find_first_not_of(' ', start) == std::string_view::npos)
            continue;
        size_t next = start;
        if (text[start] != ' ')
            while (next < text.size() && text[next] != ' ')
                ++next;
        while (next < text.size() && text[next] == ' ')
            ++next;
        return std::max(static_cast<int>(next - start), 1);
    }
    return fallback;
}

int TTextEditor::AutoIndentColumn(int line) const {
    if (!OptionsValue.AutoIndent || line <= 0 || line >= Shown->LineCount())
        return 0;
    for (int above = line - 1; above >= 0; --above) {
        const size_t first = LineText(above).find_first_not_of(' ');
        if (first != std::string_view::npos)
            return static_cast<int>(first);
    }
    return 0;
}

} // namespace corvid
