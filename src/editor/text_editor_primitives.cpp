#include "editor/text_editor.h"

#include "editor/syntax_highlighter.h"
#include "editor/text_editor_scopes.h"
#include "editor/undo_buffer.h"

#include <algorithm>

namespace corvid {

// The four primitives are the only code that changes a document's text. Each one keeps, in
// this order, the line's text and modified mark, the bookmarks, the undo history, the
// highlighter's comment state and the repaint marks, then runs the change notification.

bool TTextEditor::IsPlace(int line, int column) const {
    return IsLine(line) && column >= 0 && column <= std::max(MaximumColumn, LineLength(line));
}

int TTextEditor::LineLength(int line) const {
    return static_cast<int>(LineText(line).size());
}

// The caret and the top line may have stood on a line that went; they move onto the last.
void TTextEditor::KeepViewInDocument() {
    Shown->SetCaretLine(CaretLine());
    Shown->SetTopLine(TopLine());
}

void TTextEditor::ApplyTrailingBlankRule(TTextEditorLine& line) const {
    if (OptionsValue.RemoveTrailingBlanks)
        line.Text.TrimTrailingBlanks();
}

void TTextEditor::InsertText(std::string_view text, int line, int column) {
    if (text.empty() || !IsPlace(line, column))
        return;
    // A copy, since the text may come from the document itself.
    std::string inserted(text);
    TTextEditorLine& target = Shown->Lines.Get(line);
    target.Set(lfModified);
    target.Text.PadTo(static_cast<size_t>(column));
    target.Text.Insert(static_cast<size_t>(column), inserted);
    ApplyTrailingBlankRule(target);
    Shown->Bookmarks.TextInserted(line, column, static_cast<int>(inserted.size()));
    if (TTextEditorUndoBuffer* undo = Shown->UndoBuffer())
        undo->AddInsertText(std::move(inserted), line, column);
    if (Shown->Highlighter)
        Shown->Highlighter->LineChanged(line, *Shown);
    InvalidateLines(line, line);
    ChangeNotification();
}

void TTextEditor::DeleteText(int line, int column, int count) {
    if (count < 1 || !IsPlace(line, column))
        return;
    TTextEditorLine& target = Shown->Lines.Get(line);
    target.Set(lfModified);
    const std::string_view text = target.Text.View();
    if (TTextEditorUndoBuffer* undo = Shown->UndoBuffer()) {
        const size_t start = std::min(static_cast<size_t>(column), text.size());
        undo->AddDeleteText(std::string(text.substr(start, static_cast<size_t>(count))), line,
                            column);
    }
    target.Text.Erase(static_cast<size_t>(column), static_cast<size_t>(count));
    ApplyTrailingBlankRule(target);
    Shown->Bookmarks.TextDeleted(line, column, count);
    if (Shown->Highlighter)
        Shown->Highlighter->LineChanged(line, *Shown);
    InvalidateLines(line, line);
    ChangeNotification();
}

void TTextEditor::SplitLine(int line, int column) {
    if (!IsPlace(line, column))
        return;
    TTextEditorLine& first = Shown->Lines.Get(line);
    const std::string_view text = first.Text.View();
    std::string tail(column < static_cast<int>(text.size())
                         ? text.substr(static_cast<size_t>(column))
                         : std::string_view());
    first.Text.Truncate(static_cast<size_t>(column));
    ApplyTrailingBlankRule(first);
    Shown->Lines.InsertRaw(line + 1, TLineText(tail));
    Shown->Bookmarks.LineSplit(line, column);
    if (TTextEditorUndoBuffer* undo = Shown->UndoBuffer())
        undo->AddInsertLine(line, column);
    if (Shown->Highlighter)
        Shown->Highlighter->LineInserted(line, *Shown);
    InvalidateFrom(line);
    Shown->Lines.Get(line).Set(lfModified);
    Shown->Lines.Get(line + 1).Set(lfModified);
    ChangeNotification();
    View->OnLineCountChanged();
}

void TTextEditor::JoinLines(int line, int column) {
    if (!IsPlace(line, column))
        return;
    // The last line has nothing to join: only the cut happens, and it is recorded as the
    // deletion it is, so that undoing it gives back the text and no extra line.
    if (line == Shown->LineCount() - 1) {
        if (column < LineLength(line))
            DeleteText(line, column, LineLength(line) - column);
        return;
    }
    TTextEditorLine& target = Shown->Lines.Get(line);
    const std::string_view text = target.Text.View();
    if (TTextEditorUndoBuffer* undo = Shown->UndoBuffer()) {
        const size_t start = std::min(static_cast<size_t>(column), text.size());
        undo->AddDeleteLine(std::string(text.substr(start)), line, column);
    }
    target.Text.Truncate(static_cast<size_t>(column));
    target.Text.PadTo(static_cast<size_t>(column));
    target.Text.Append(Shown->Lines.Get(line + 1).Text.View());
    Shown->Lines.Delete(line + 1);
    KeepViewInDocument();
    TTextEditorLine& joined = Shown->Lines.Get(line);
    ApplyTrailingBlankRule(joined);
    if (Shown->Highlighter)
        Shown->Highlighter->LineDeleted(line, *Shown);
    Shown->Bookmarks.LinesJoined(line, column);
    joined.Set(lfModified);
    InvalidateFrom(line);
    ChangeNotification();
    View->OnLineCountChanged();
}

} // namespace corvid
