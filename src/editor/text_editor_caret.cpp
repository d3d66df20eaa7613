#include "editor/text_editor.h"

#include "editor/text_editor_scopes.h"

#include <algorithm>
#include <cstdlib>

namespace corvid {

namespace {

constexpr int WheelNotch = 120;

} // namespace

void TTextEditor::MoveCaret(int line, int column, TShiftState shift) {
    MoveCaretTo(line, column, shift, TCaretMove::Navigation);
}

void TTextEditor::PlaceCaret(int line, int column) {
    MoveCaretTo(line, column, {}, TCaretMove::Typing);
}

void TTextEditor::MoveCaretTo(int line, int column, TShiftState shift, TCaretMove move) {
    const TTextPosition place = ClampedPlace(line, column);
    line = place.Line;
    column = place.Column;
    const TTextPosition old{CaretLine(), CaretColumn()};
    const bool selecting =
        shift.Shift && move != TCaretMove::Typing && OptionsValue.KeyboardSelectsText;
    const TTextEditorSelectionBookmark& selection = Selection();
    if (selecting &&
        (!HasSelection() || (old != selection.Position() && old != selection.EndPosition())))
        StartSelection(old.Line, old.Column, shift);
    Shown->SetCaretLine(line);
    Shown->SetCaretColumn(column);
    ScrollToCaretWith(move);
    if (selecting)
        ExtendSelection(line, column);
    else if (!OptionsValue.PersistentBlocks && !Dragging)
        ClearSelection();
    if (OptionsValue.ShowsCaretLine() && old.Line != line)
        RepaintCaretLines(old.Line, line);
    NotifyHelpers(hrCaretMoved, 0);
    View->OnCaretMoved();
    SyncCaret();
}

void TTextEditor::RepaintCaretLines(int oldLine, int newLine) {
    InvalidateLines(oldLine, oldLine);
    InvalidateLines(newLine, newLine);
}

void TTextEditor::ScrollToCaret() {
    ScrollToCaretWith(TCaretMove::Navigation);
}

// Only the Up and Down keys keep a margin of lines between the caret and the window edge, and
// only as much as the lines before and after the caret and half the window allow.
void TTextEditor::ScrollToCaretWith(TCaretMove move) {
    const int rows = VisibleRows();
    const int columns = VisibleColumns();
    const int line = CaretLine();
    const int column = CaretColumn();
    int margin = 0;
    if (OptionsValue.ScrollThresholdEnabled && move == TCaretMove::VerticalKey)
        margin = std::max(0, std::min({OptionsValue.LineScrollThreshold, line,
                                       Shown->LineCount() - 1 - line, rows / 2}));
    int top = TopLine();
    if (rows <= 0)
        top = line;
    else if (line - margin < top)
        top = line - margin;
    else if (line + margin >= top + rows)
        top = line + margin - rows + 1;
    int left = LeftColumn();
    if (columns <= 0 || column < left)
        left = column;
    else if (column >= left + columns)
        left = column - columns + 1;
    SetTopLeft(top, left);
}

void TTextEditor::SetTopLeft(int line, int column) {
    const TTextPosition place = ClampedPlace(line, column);
    line = place.Line;
    column = place.Column;
    const int oldTop = TopLine();
    if (line == oldTop && column == LeftColumn())
        return;
    const bool onlyTop = column == LeftColumn();
    Shown->SetTopLine(line);
    Shown->SetLeftColumn(column);
    const int delta = line - oldTop;
    const int rows = GeometryValue.PaintRows();
    if (onlyTop && OptionsValue.FastScroll && UpdateCount == 0 && std::abs(delta) < rows) {
        View->ScrollRows(delta);
        // The rows scrolled into view, and a row that was only partly visible before.
        const int firstRow = delta > 0 ? std::max(VisibleRows() - delta, 0) : 0;
        const int lastRow = delta > 0 ? rows - 1 : -delta - 1;
        View->RepaintLines(line + firstRow, line + lastRow);
    } else {
        InvalidateAll();
    }
    SyncScrollBars();
    View->OnTopLeftMoved();
    SyncCaret();
}

void TTextEditor::NavigationKey(TEditorKey key, TShiftState shift) {
    const int line = CaretLine();
    const int column = CaretColumn();
    const int rows = std::max(VisibleRows(), 1);
    const bool scrollsPage = OptionsValue.ArrowKeysScrollPage;
    switch (key) {
    case TEditorKey::PageUp:
        SetTopLeft(TopLine() - rows, LeftColumn());
        return MoveCaretTo(line - rows, column, shift, TCaretMove::Navigation);
    case TEditorKey::PageDown:
        SetTopLeft(TopLine() + rows, LeftColumn());
        return MoveCaretTo(line + rows, column, shift, TCaretMove::Navigation);
    case TEditorKey::Home:
        if (!scrollsPage)
            MoveCaretTo(line, 0, shift, TCaretMove::Navigation);
        return;
    case TEditorKey::End:
        if (!scrollsPage)
            MoveCaretTo(line, LineLength(line), shift, TCaretMove::Navigation);
        return;
    case TEditorKey::Left:
        if (!scrollsPage)
            MoveCaretTo(line, column - 1, shift, TCaretMove::Navigation);
        return;
    case TEditorKey::Right:
        if (!scrollsPage)
            MoveCaretTo(line, column + 1, shift, TCaretMove::Navigation);
        return;
    case TEditorKey::Up:
        if (scrollsPage)
            return SetTopLeft(TopLine() - 1, LeftColumn());
        return MoveCaretTo(line - 1, column, shift, TCaretMove::VerticalKey);
    case TEditorKey::Down:
        if (scrollsPage)
            return SetTopLeft(TopLine() + 1, LeftColumn());
        return MoveCaretTo(line + 1, column, shift, TCaretMove::VerticalKey);
    default:
        return;
    }
}

// --- Mouse ----------------------------------------------------------------------------------

TTextPosition TTextEditor::PlaceAt(int x, int y) const {
    const TTextPosition place = GeometryValue.PositionAt(x, y, TopLine(), LeftColumn());
    return ClampedPlace(place.Line, place.Column);
}

void TTextEditor::MouseDown(int x, int y, TShiftState shift) {
    const TTextPosition place = PlaceAt(x, y);
    ButtonDown = true;
    Dragging = false;
    PressPosition = place;
    if (OptionsValue.MouseClickClearsSelection && !shift.Shift)
        ClearSelection();
    if (!OptionsValue.LockCaretPosition)
        MoveCaretTo(place.Line, place.Column, shift, TCaretMove::Navigation);
}

void TTextEditor::MouseMove(int x, int y, TShiftState shift) {
    if (!ButtonDown)
        return;
    const TTextPosition place = PlaceAt(x, y);
    if (!Dragging) {
        if (place == PressPosition)
            return;
        Dragging = true;
        if (OptionsValue.MouseSelectsText)
            StartSelection(PressPosition.Line, PressPosition.Column, shift);
    }
    if (OptionsValue.MouseSelectsText)
        ExtendSelection(place.Line, place.Column);
    if (!OptionsValue.LockCaretPosition)
        MoveCaretTo(place.Line, place.Column, {}, TCaretMove::Navigation);
}

void TTextEditor::MouseUp() {
    ButtonDown = false;
    Dragging = false;
}

void TTextEditor::MouseWheel(int delta) {
    WheelRemainder += delta;
    const int lines = WheelRemainder / WheelNotch;
    WheelRemainder -= lines * WheelNotch;
    if (lines != 0)
        SetTopLeft(TopLine() - lines, LeftColumn());
}

void TTextEditor::VerticalScrolled(int position) {
    SetTopLeft(position, LeftColumn());
}

void TTextEditor::HorizontalScrolled(int position) {
    SetTopLeft(TopLine(), position);
}

// --- Geometry and caret ---------------------------------------------------------------------

void TTextEditor::SetFontMetrics(int lineHeight, int charWidth) {
    TUpdateScope update(*this);
    GeometryValue.LineHeight = std::max(lineHeight, 1);
    GeometryValue.CharWidth = std::max(charWidth, 1);
    InvalidateAll();
    SyncScrollBars();
}

void TTextEditor::SetClientSize(int width, int height) {
    TUpdateScope update(*this);
    GeometryValue.Width = std::max(width, 0);
    GeometryValue.Height = std::max(height, 0);
    InvalidateAll();
    SyncScrollBars();
}

void TTextEditor::SetFocused(bool focused) {
    FocusedValue = focused;
    SyncCaret();
}

void TTextEditor::ShowCaret() {
    if (CaretHideCount > 0)
        --CaretHideCount;
    SyncCaret();
}

void TTextEditor::HideCaret() {
    ++CaretHideCount;
    SyncCaret();
}

TCaretShape TTextEditor::Caret() const {
    TCaretShape caret;
    caret.X = ColumnX(CaretColumn());
    caret.Y = RowY(CaretLine());
    caret.Width = OverwriteValue ? GeometryValue.CharWidth : 2;
    caret.Height = GeometryValue.LineHeight;
    caret.Color = OptionsValue.CaretColor;
    const int row = CaretLine() - TopLine();
    caret.Visible = OptionsValue.CaretOn && FocusedValue && UpdateCount == 0 &&
                    CaretHideCount == 0 && row >= 0 && row < GeometryValue.PaintRows() &&
                    CaretColumn() >= LeftColumn() && caret.X < GeometryValue.ClientWidth();
    return caret;
}

} // namespace corvid
