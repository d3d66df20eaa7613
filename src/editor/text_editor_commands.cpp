#include "editor/text_editor.h"

#include "editor/syntax_highlighter.h"
#include "editor/text_editor_scopes.h"
#include "editor/undo_buffer.h"

#include <algorithm>
#include <cstdlib>

namespace corvid {

namespace {

void TrimTrailingBlanks(std::string& text) {
    size_t length = text.size();
    while (length > 0 && static_cast<unsigned char>(text[length - 1]) <= ' ')
        --length;
    text.resize(length);
}

std::string Tail(std::string_view text, int column) {
    return column < static_cast<int>(text.size())
               ? std::string(text.substr(static_cast<size_t>(column)))
               : std::string();
}

} // namespace

void TTextEditor::DuplicateLine(int line) {
    if (!IsLine(line))
        return;
    TUpdateScope update(*this);
    TUndoGroupScope group(*this);
    const std::string text(LineText(line));
    SplitLine(line, static_cast<int>(text.size()));
    InsertText(text, line + 1, 0);
}

void TTextEditor::DeleteLine() {
    TUpdateScope update(*this);
    const int line = CaretLine();
    JoinLines(line, 0);
    PlaceCaret(line, 0);
}

void TTextEditor::DeleteToEndOfLine(int line, int column) {
    if (!IsPlace(line, column) || column >= LineLength(line))
        return;
    DeleteText(line, column, LineLength(line) - column);
}

void TTextEditor::DeleteWord() {
    TUpdateScope update(*this);
    const int line = CaretLine();
    const int column = CaretColumn();
    const std::string_view text = LineText(line);
    const int length = static_cast<int>(text.size());
    if (column < length) {
        const TCharSet& wordCharacters = ActiveLanguage().WordCharacters;
        int end = column;
        while (end < length && wordCharacters.Contains(text[static_cast<size_t>(end)]))
            ++end;
        while (end < length && text[static_cast<size_t>(end)] == ' ')
            ++end;
        DeleteText(line, column, std::max(end - column, 1));
        return;
    }
    TUndoGroupScope group(*this);
    JoinLines(line, column);
    const std::string_view joined = LineText(line);
    int spaces = 0;
    while (column + spaces < static_cast<int>(joined.size()) &&
           joined[static_cast<size_t>(column + spaces)] == ' ')
        ++spaces;
    DeleteText(line, column, spaces);
}

int TTextEditor::LastBlockCommandLine() const {
    const TTextEditorSelectionBookmark& selection = Selection();
    const int lower = selection.LowerLine();
    if (!SelectionIsBlock() && selection.LowerColumn() == 0)
        return lower - 1;
    return lower;
}

void TTextEditor::BlockIndent() {
    if (!HasSelection())
        return;
    TUpdateScope update(*this);
    TUndoGroupScope group(*this);
    const TTextEditorSelectionBookmark& selection = Selection();
    const int column = SelectionIsBlock() ? std::min(selection.Column(), selection.EndColumn()) : 0;
    const int first = selection.UpperLine();
    const int last = LastBlockCommandLine();
    for (int line = first; line <= last; ++line)
        InsertText(" ", line, column);
}

// Only a space goes: an undent never deletes text.
void TTextEditor::BlockUndent() {
    if (!HasSelection())
        return;
    TUpdateScope update(*this);
    TUndoGroupScope group(*this);
    const TTextEditorSelectionBookmark& selection = Selection();
    const int first = selection.UpperLine();
    const int last = LastBlockCommandLine();
    const int column =
        SelectionIsBlock() ? std::min(selection.Column(), selection.EndColumn()) - 1 : 0;
    if (column < 0)
        return;
    for (int line = first; line <= last && IsLine(line); ++line) {
        const std::string_view text = LineText(line);
        const bool longer = !SelectionIsBlock() || static_cast<int>(text.size()) > column + 1;
        if (longer && static_cast<int>(text.size()) > column &&
            text[static_cast<size_t>(column)] == ' ')
            DeleteText(line, column, 1);
    }
}

void TTextEditor::DeleteSelection() {
    if (!HasSelection())
        return;
    TUpdateScope update(*this);
    if (SelectionIsBlock())
        DeleteBlockSelection();
    else
        DeleteStreamSelection();
}

void TTextEditor::DeleteBlockSelection() {
    const TTextEditorSelectionBookmark& selection = Selection();
    const int left = std::min(selection.Column(), selection.EndColumn());
    const int width = std::max(std::abs(selection.Column() - selection.EndColumn()), 1);
    const int first = selection.UpperLine();
    const int last = selection.LowerLine();
    int caretColumn = CaretColumn();
    if (CaretLine() >= first && CaretLine() <= last && caretColumn > left)
        caretColumn = std::max(caretColumn - width, left);
    {
        TUndoGroupScope group(*this);
        for (int line = first; line <= last; ++line)
            DeleteText(line, left, width);
    }
    ClearSelection();
    PlaceCaret(CaretLine(), caretColumn);
}

void TTextEditor::DeleteStreamSelection() {
    const TTextEditorSelectionBookmark& selection = Selection();
    const TDeletedRange range{selection.UpperLine(), selection.UpperColumn(), selection.LowerLine(),
                              selection.LowerColumn()};
    if (!IsPlace(range.UpperLine, range.UpperColumn) ||
        !IsPlace(range.LowerLine, range.LowerColumn)) {
        ClearSelection();
        return;
    }
    const TTextPosition caret = AfterRangeDeleted({CaretLine(), CaretColumn()}, range);
    {
        TUndoGroupScope group(*this);
        if (range.UpperLine == range.LowerLine)
            DeleteText(range.UpperLine, range.UpperColumn, range.LowerColumn - range.UpperColumn);
        else
            DeleteLineRange(range);
    }
    ClearSelection();
    PlaceCaret(caret.Line, caret.Column);
}

// Deletes the stream from (UpperLine, UpperColumn) to (LowerLine, LowerColumn) over several
// lines in one step. The text, the undo records, the bookmarks and the line marks come out as
// if each middle line had been joined away at column 0 from the bottom up, then the start of
// the last line deleted, then the first line joined at its column: the records are those
// edits', so undo takes them back one by one as usual.
void TTextEditor::DeleteLineRange(const TDeletedRange& range) {
    const int upper = range.UpperLine;
    const int lower = range.LowerLine;
    const bool rule = OptionsValue.RemoveTrailingBlanks;
    TTextEditorUndoBuffer* undo = Shown->UndoBuffer();
    const bool recording = undo && undo->Recording && undo->Limit >= 1;

    if (recording)
        for (int line = lower - 1; line > upper; --line)
            undo->AddDeleteLine(std::string(LineText(line)), line, 0);
    std::string last(LineText(lower));
    if (rule && lower - upper > 1)
        TrimTrailingBlanks(last);
    if (range.LowerColumn >= 1) {
        const size_t cut = std::min(static_cast<size_t>(range.LowerColumn), last.size());
        if (recording)
            undo->AddDeleteText(last.substr(0, cut), upper + 1, 0);
        last.erase(0, cut);
        if (rule)
            TrimTrailingBlanks(last);
    }
    const std::string_view first = LineText(upper);
    if (recording)
        undo->AddDeleteLine(Tail(first, range.UpperColumn), upper, range.UpperColumn);
    std::string joined(
        first.substr(0, std::min(first.size(), static_cast<size_t>(range.UpperColumn))));
    joined.resize(static_cast<size_t>(range.UpperColumn), ' ');
    joined += last;
    if (rule)
        TrimTrailingBlanks(joined);

    TTextEditorLine& target = Shown->Lines.Get(upper);
    target.Text.Assign(joined);
    target.Set(lfModified);
    Shown->Lines.DeleteRange(upper + 1, lower - upper);
    KeepViewInDocument();
    Shown->Bookmarks.RangeDeleted(range);
    if (Shown->Highlighter)
        Shown->Highlighter->LineDeleted(upper, *Shown);
    InvalidateFrom(upper);
    ChangeNotification();
    View->OnLineCountChanged();
}

void TTextEditor::ReplaceText(int line, int column, std::string_view newText, int oldLength) {
    TUpdateScope update(*this);
    TUndoGroupScope group(*this);
    const std::string replacement(newText);
    InsertText(replacement, line, column + oldLength);
    DeleteText(line, column, oldLength);
}

void TTextEditor::GotoLineCentered(int line) {
    MoveCaret(line, 0);
    SetTopLeft(CaretLine() - VisibleRows() / 2, LeftColumn());
}

} // namespace corvid
