#include "editor/editor_helpers.h"

#include "editor/language_info.h"
#include "editor/text_editor.h"
#include "foundation/stacks.h"

#include <algorithm>

namespace corvid {

namespace {

constexpr int DiagramStackSize = 50;
constexpr int DiagramStep = 4; // pixels between the levels of the brackets

} // namespace

TTextEditorParenthesisDiagramHelper::TTextEditorParenthesisDiagramHelper(TTextEditor& editor)
    : Editor(editor) {}

std::vector<TDiagramBracket> TTextEditorParenthesisDiagramHelper::Brackets(std::string_view text) {
    // Room for every "(" at once: a stack that grows by each push would copy itself for every
    // parenthesis of a long line.
    const auto opening = static_cast<int>(std::count(text.begin(), text.end(), '('));
    TDynamicStack open;
    open.SetBufferSize(std::max(DiagramStackSize, opening * static_cast<int>(sizeof(int))));
    std::vector<TDiagramBracket> brackets;
    int count = 0;
    for (int column = 0; column < static_cast<int>(text.size()); ++column) {
        const char c = text[static_cast<size_t>(column)];
        if (c == '(') {
            open.Push(&column, sizeof column);
        } else if (c == ')' && open.Top > 0) {
            int openColumn = 0;
            open.Pop(&openColumn, sizeof openColumn);
            brackets.push_back({openColumn, column, count++});
            if (open.Top == 0)
                count = 0;
        }
    }
    return brackets;
}

void TTextEditorParenthesisDiagramHelper::PaintLine(int line, int y, const TTextEditor& editor,
                                                    TOverlay& overlay) const {
    if (!Enabled || line != editor.CaretLine())
        return;
    const int lineHeight = editor.Geometry().LineHeight;
    const int halfCell = editor.Geometry().CharWidth / 2;
    const int anchor = y + lineHeight / 2;
    for (const TDiagramBracket& bracket : Brackets(editor.File().LineText(line))) {
        const int level = bracket.Count % 2 == 0
                              ? y - DiagramStep * bracket.Count
                              : y + lineHeight + DiagramStep + DiagramStep * bracket.Count;
        const int closeX = editor.ColumnX(bracket.CloseColumn) + halfCell;
        const int openX = editor.ColumnX(bracket.OpenColumn) + halfCell;
        overlay.push_back({closeX, anchor, closeX, level, DiagramColor});
        overlay.push_back({closeX, level, openX, level, DiagramColor});
        overlay.push_back({openX, level, openX, anchor, DiagramColor});
    }
}

void TTextEditorParenthesisDiagramHelper::UpdateReach() {
    const int line = Editor.CaretLine();
    int deepest = 0;
    for (const TDiagramBracket& bracket : Brackets(Editor.File().LineText(line)))
        deepest = std::max(deepest, bracket.Count);
    const int lineHeight = std::max(Editor.Geometry().LineHeight, 1);
    ReachValue = (DiagramStep * deepest + lineHeight + DiagramStep) / lineHeight + 1;
}

void TTextEditorParenthesisDiagramHelper::InvalidateAround(int line, int reach) {
    if (line >= 0)
        Editor.InvalidateLines(line - reach, line + reach);
}

void TTextEditorParenthesisDiagramHelper::Notify(TTextEditorHelperReason reason, int) {
    if (!Enabled)
        return;
    const int oldReach = ReachValue;
    if (reason == hrCaretMoved && Editor.CaretLine() != LastCaretLine) {
        InvalidateAround(LastCaretLine, oldReach);
        LastCaretLine = Editor.CaretLine();
        UpdateReach();
        InvalidateAround(LastCaretLine, ReachValue);
    } else if (reason == hrTextChanged) {
        UpdateReach();
        InvalidateAround(Editor.CaretLine(), std::max(oldReach, ReachValue));
    }
}

void TTextEditorHighlightWordHelper::Show() {
    File = &Editor.File();
    ActiveValue = true;
    Editor.InvalidateLines(Line, Line);
}

void TTextEditorHighlightWordHelper::Hide() {
    if (!ActiveValue)
        return;
    ActiveValue = false;
    if (File == &Editor.File())
        Editor.InvalidateLines(Line, Line);
}

void TTextEditorHighlightWordHelper::ColorLine(int line, const TTextEditor& editor,
                                               TColourRow& row) const {
    if (!ActiveValue || File != &editor.File() || line != Line)
        return;
    row.ColorSpan(StartColumn, EndColumn, editor.ActiveLanguage().Colors[ccHighlightedWord],
                  HighlightWordPriority);
}

void TTextEditorHighlightWordHelper::Notify(TTextEditorHelperReason reason, int) {
    if (reason == hrCaretMoved || reason == hrTextChanged)
        Hide();
}

} // namespace corvid
