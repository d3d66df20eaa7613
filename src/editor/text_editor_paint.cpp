#include "editor/text_editor.h"

#include "editor/syntax_highlighter.h"

#include <algorithm>

namespace corvid {

void TTextEditor::ColorLine(int line, TColourRow& row) const {
    const TTextEditorMultiFileInfo& language = ActiveLanguage();
    row.Reset(LeftColumn(), GeometryValue.PaintColumns(), language.Colors[ccNormal]);
    if (!IsLine(line))
        return;
    if (Shown->Highlighter)
        Shown->Highlighter->ColorLine(line, *this, row);
    if (line == CaretLine()) {
        const int last = LineLength(line) - 1;
        if (OptionsValue.ShowCaretLineBG) {
            row.ColorBack(0, last, OptionsValue.ShowCaretLineBGColor, 0);
            row.FillEndOfLine(OptionsValue.ShowCaretLineBGColor, 0);
        }
        if (OptionsValue.ShowCaretLineFG)
            row.ColorText(0, last, OptionsValue.ShowCaretLineFGColor, 0);
    }
    Shown->Bookmarks.BookmarksOnLine(line, LineBookmarks);
    for (const TTextEditorBookmark* bookmark : LineBookmarks)
        bookmark->ColorLine(line, *this, row);
    for (const TTextEditorHelper* helper : Helpers)
        helper->ColorLine(line, *this, row);
}

void TTextEditor::PaintRow(int row, TTextEditorRow& result) const {
    const TEditorGeometry& geometry = GeometryValue;
    const int line = TopLine() + row;
    result.Line = line;
    result.Y = row * geometry.LineHeight;
    result.Height = geometry.LineHeight;
    result.Runs.clear();
    result.Gutter.clear();
    result.Overlay.clear();
    result.MarginWidth = geometry.MarginWidth();
    result.MarginColor = OptionsValue.LeftColumnColor;
    result.CaretLineFrame = false;
    result.EndOfFileLine = false;
    result.PastEnd = !IsLine(line);
    ColorLine(line, result.Cells);
    if (result.PastEnd) {
        result.FillX = result.MarginWidth;
        result.FillColor = ActiveLanguage().Colors[ccNormal].Back;
        return;
    }
    PaintText(line, result);
    PaintMarks(line, result);
    Shown->Bookmarks.BookmarksOnLine(line, LineBookmarks);
    for (const TTextEditorBookmark* bookmark : LineBookmarks)
        bookmark->PaintGutter(line, *this, result.Gutter);
    for (const TTextEditorHelper* helper : Helpers)
        helper->PaintLine(line, result.Y, *this, result.Overlay);
}

// Neighbouring cells with equal colours make one run, over the existing characters only; the
// end-of-line fill takes the rest of the row.
void TTextEditor::PaintText(int line, TTextEditorRow& result) const {
    const std::string_view text = LineText(line);
    const TColourRow& cells = result.Cells;
    const int end = std::min(static_cast<int>(text.size()), cells.EndColumn());
    for (int column = cells.LeftColumn(); column < end;) {
        const TColourCell& cell = cells.Cell(column);
        int next = column + 1;
        while (next < end && cells.Cell(next).Text == cell.Text &&
               cells.Cell(next).Back == cell.Back)
            ++next;
        result.Runs.push_back(
            {column, ColumnX(column),
             text.substr(static_cast<size_t>(column), static_cast<size_t>(next - column)),
             cell.Text, cell.Back});
        column = next;
    }
    result.FillX = std::max(ColumnX(std::max(static_cast<int>(text.size()), LeftColumn())),
                            result.MarginWidth);
    result.FillColor = cells.EndOfLineFill();
}

void TTextEditor::PaintMarks(int line, TTextEditorRow& result) const {
    const TTextEditorOptions& options = OptionsValue;
    if (options.ShowModifiedLines && Shown->Lines.Get(line).Has(lfModified))
        result.MarginColor = options.ShowModifiedLinesColor;
    if (options.ShowCaretLine && line == CaretLine()) {
        result.CaretLineFrame = true;
        result.CaretLineFrameColor = options.ShowCaretLineColor;
        result.CaretLineFramePen = options.ShowCaretLinePenStyle;
    }
    if (options.VisibleEOF && line == Shown->LineCount() - 1) {
        result.EndOfFileLine = true;
        result.EndOfFileColor = options.VisibleEOFColor;
    }
}

// --- Words and search -----------------------------------------------------------------------

int TTextEditor::NextWordStart(int line, int column) const {
    if (!IsLine(line))
        return column;
    return corvid::NextWordStart(LineText(line), column, ActiveLanguage().WordCharacters);
}

int TTextEditor::PreviousWordStart(int line, int column) const {
    if (!IsLine(line) || column < 0)
        return column;
    return corvid::PreviousWordStart(LineText(line), column, ActiveLanguage().WordCharacters);
}

std::optional<TWordBounds> TTextEditor::WordBounds(int line, int column) const {
    if (!IsLine(line))
        return std::nullopt;
    return corvid::WordBounds(LineText(line), column, ActiveLanguage().WordCharacters);
}

std::string TTextEditor::WordAt(int line, int column) const {
    const std::optional<TWordBounds> bounds = WordBounds(line, column);
    if (!bounds)
        return {};
    return std::string(LineText(line).substr(static_cast<size_t>(bounds->Start),
                                             static_cast<size_t>(bounds->End - bounds->Start)));
}

std::optional<TFindResult> TTextEditor::Find(std::string_view pattern, int line, int column,
                                             unsigned options) const {
    std::optional<TFindBounds> bounds;
    if (HasSelection())
        bounds = TFindBounds{Selection().Upper(), Selection().Lower()};
    return FindInDocument(*Shown, pattern, line, column, options, bounds);
}

} // namespace corvid
