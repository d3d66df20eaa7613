#include "editor/text_editor.h"

#include "editor/text_editor_scopes.h"
#include "foundation/streams.h"
#include "foundation/text_fields.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace corvid {

namespace {

constexpr int PastedTabWidth = 2;

// The clipboard's lines as paste reads them (any line end), each tab two spaces; and whether
// the last one ended with a line end.
struct TClipboardLine {
    std::string Text;
    bool EndsLine;
};

std::vector<TClipboardLine> ClipboardLines(const std::string& text) {
    TKMemStream stream;
    stream.Write(text.data(), text.size());
    stream.SetPosition(0);
    std::vector<TClipboardLine> lines;
    std::string line;
    for (size_t consumed; (consumed = stream.ReadLine(line)) > 0;)
        lines.push_back({ExpandTabs(line, PastedTabWidth), consumed > line.size()});
    return lines;
}

std::string WithLineFeeds(std::string_view text) {
    std::string converted;
    converted.reserve(text.size());
    for (size_t index = 0; index < text.size(); ++index) {
        if (text[index] == '\r' && index + 1 < text.size() && text[index + 1] == '\n')
            continue;
        converted += text[index];
    }
    return converted;
}

std::string_view Slice(std::string_view text, int from, int count) {
    if (from < 0 || from >= static_cast<int>(text.size()) || count <= 0)
        return {};
    return text.substr(static_cast<size_t>(from), static_cast<size_t>(count));
}

} // namespace

bool TTextEditor::HasSelection() const {
    return Selection().UpperLine() >= 0 && Selection().LowerLine() >= 0;
}

TTextPosition TTextEditor::ClampedPlace(int line, int column) const {
    return {std::clamp(line, 0, Shown->LineCount() - 1), std::clamp(column, 0, MaximumColumn)};
}

void TTextEditor::StartSelection(int line, int column, TShiftState shift) {
    ClearSelection();
    Shown->SelectionAnchor = ClampedPlace(line, column);
    if (shift.Alt && SelectionModeValue == smStream) {
        SelectionModeValue = smBlock;
        TemporaryBlockMode = true;
    } else if (!shift.Alt && TemporaryBlockMode) {
        SelectionModeValue = smStream;
        TemporaryBlockMode = false;
    }
}

void TTextEditor::ExtendSelection(int line, int column) {
    const TTextPosition end = ClampedPlace(line, column);
    line = end.Line;
    column = end.Column;
    TTextEditorSelectionBookmark& selection = Selection();
    const bool had = HasSelection();
    const int oldUpper = selection.UpperLine();
    const int oldLower = selection.LowerLine();
    const int oldEnd = had ? selection.EndLine() : Shown->SelectionAnchor.Line;
    const TTextPosition anchor =
        ClampedPlace(Shown->SelectionAnchor.Line, Shown->SelectionAnchor.Column);
    // Both ends first, then the test for an empty selection.
    selection.AutoCollapse = false;
    selection.SetPosition(anchor.Line, anchor.Column);
    selection.AutoCollapse = true;
    selection.SetEndPosition(line, column);
    if (SelectionIsBlock() && had)
        InvalidateLines(std::min({oldUpper, line, anchor.Line}),
                        std::max({oldLower, line, anchor.Line}));
    else if (SelectionIsBlock())
        InvalidateLines(std::min(line, anchor.Line), std::max(line, anchor.Line));
    else
        InvalidateLines(std::min(oldEnd, line), std::max(oldEnd, line));
    View->OnSelectionChanged();
}

void TTextEditor::ClearSelection() {
    TTextEditorSelectionBookmark& selection = Selection();
    const TTextPosition none;
    if (selection.Position() == none && selection.EndPosition() == none)
        return;
    if (HasSelection())
        InvalidateLines(selection.UpperLine(), selection.LowerLine());
    selection.SetPosition(-1, -1);
    selection.SetEndPosition(-1, -1);
    View->OnSelectionChanged();
}

void TTextEditor::SetSelectionRange(TTextPosition anchor, TTextPosition end) {
    Shown->SelectionAnchor = anchor;
    ExtendSelection(end.Line, end.Column);
}

std::string TTextEditor::SelectedText() const {
    if (!HasSelection())
        return {};
    const TTextEditorSelectionBookmark& selection = Selection();
    const int upper = selection.UpperLine();
    const int lower = std::min(selection.LowerLine(), Shown->LineCount() - 1);
    std::string text;
    for (int line = upper; line <= lower; ++line) {
        if (line > upper)
            text += "\r\n";
        const std::string_view content = LineText(line);
        if (SelectionIsBlock()) {
            const int left = std::min(selection.Column(), selection.EndColumn());
            const int width = std::max(std::abs(selection.Column() - selection.EndColumn()), 1);
            text += Slice(content, left, width);
            continue;
        }
        const int from = line == upper ? selection.UpperColumn() : 0;
        const int to = line == selection.LowerLine() ? selection.LowerColumn()
                                                     : static_cast<int>(content.size());
        text += Slice(content, from, to - from);
    }
    return text;
}

void TTextEditor::CopyToClipboard() {
    if (HasSelection())
        View->SetClipboardText(WithLineFeeds(SelectedText()));
}

void TTextEditor::AppendToClipboard() {
    if (HasSelection())
        View->SetClipboardText(View->ClipboardText() + WithLineFeeds(SelectedText()));
}

void TTextEditor::Paste() {
    if (!OptionsValue.Modifiable)
        return;
    TUpdateScope update(*this);
    DeleteSelectionBeforeTyping();
    const std::vector<TClipboardLine> lines = ClipboardLines(View->ClipboardText());
    if (lines.empty())
        return;
    const TTextPosition anchor{CaretLine(), CaretColumn()};
    TTextPosition end = anchor;
    {
        TUndoGroupScope group(*this);
        if (SelectionIsBlock()) {
            int widest = 0;
            for (size_t index = 0; index < lines.size(); ++index) {
                const int line = anchor.Line + static_cast<int>(index);
                if (!IsLine(line))
                    break;
                InsertText(lines[index].Text, line, anchor.Column);
                widest = std::max(widest, static_cast<int>(lines[index].Text.size()));
                end.Line = line;
            }
            end.Column = anchor.Column + widest;
        } else {
            for (const TClipboardLine& piece : lines) {
                InsertText(piece.Text, end.Line, end.Column);
                end.Column += static_cast<int>(piece.Text.size());
                if (!piece.EndsLine)
                    continue;
                SplitLine(end.Line, end.Column);
                end = {end.Line + 1, 0};
            }
        }
    }
    SetSelectionRange(anchor, end);
}

void TTextEditor::PasteIntoRows() {
    if (!OptionsValue.Modifiable || !HasSelection())
        return;
    const std::vector<TClipboardLine> lines = ClipboardLines(View->ClipboardText());
    if (lines.empty())
        return;
    TUpdateScope update(*this);
    TUndoGroupScope group(*this);
    const TTextEditorSelectionBookmark& selection = Selection();
    const int column = selection.UpperColumn();
    const int first = selection.UpperLine();
    const int last = selection.LowerLine();
    for (int line = first; line <= last; ++line)
        InsertText(lines[static_cast<size_t>(line - first) % lines.size()].Text, line, column);
}

} // namespace corvid
