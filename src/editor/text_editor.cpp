#include "editor/text_editor.h"

#include "editor/syntax_highlighter.h"
#include "editor/text_editor_scopes.h"
#include "editor/undo_buffer.h"

#include <algorithm>

namespace corvid {

TTextEditor::TTextEditor()
    : OwnFile(std::make_unique<TTextEditorFile>(TUndoMode::WithoutUndo)), Shown(OwnFile.get()),
      OwnLanguageValue(std::make_unique<TTextEditorMultiFileInfo>()) {
    Shown->Editor = this;
    GeometryValue.LeftColumnMargin = OptionsValue.LeftColumnMargin;
    UpdateFileLoadRules();
}

TTextEditor::~TTextEditor() {
    if (Shown->Editor == this)
        Shown->Editor = nullptr;
    if (OwnFile->Editor == this)
        OwnFile->Editor = nullptr;
}

void TTextEditor::SetFile(TTextEditorFile* file) {
    TTextEditorFile* next = file ? file : OwnFile.get();
    TUpdateScope update(*this);
    if (Shown->Editor == this)
        Shown->Editor = nullptr;
    ButtonDown = false;
    Dragging = false;
    Shown = next;
    Shown->Editor = this;
    UpdateFileLoadRules();
    SyncScrollBars();
    View->OnTopLeftMoved();
    View->OnCaretMoved();
    View->OnSelectionChanged();
    View->OnModifiedChanged();
    View->OnLineCountChanged();
    InvalidateAll();
}

void TTextEditor::FileDestroyed(TTextEditorFile& file) {
    if (&file == Shown)
        SetFile(nullptr);
}

void TTextEditor::SetView(TTextEditorView* view) {
    View = view ? view : &NullView;
    // What the new view has not seen yet must reach it.
    LastScrollBars = {};
    LastScrollBars.Vertical.Maximum = -1;
    LastCaret = {};
    LastCaret.Width = -1;
    InvalidateAll();
    SyncScrollBars();
    SyncCaret();
}

void TTextEditor::SetOptions(const TTextEditorOptions& options) {
    TUpdateScope update(*this);
    OptionsValue = options;
    GeometryValue.LeftColumnMargin = std::max(options.LeftColumnMargin, 0);
    UpdateFileLoadRules();
    InvalidateAll();
    SyncScrollBars();
}

void TTextEditor::UpdateFileLoadRules() {
    Shown->LoadTabSize = OptionsValue.TabSize;
    Shown->LoadRemovesTrailingBlanks = OptionsValue.RemoveTrailingBlanks;
}

void TTextEditor::SetOverwrite(bool overwrite) {
    if (overwrite == OverwriteValue)
        return;
    OverwriteValue = overwrite;
    View->OnOverwriteChanged();
    SyncCaret();
}

void TTextEditor::SetSelectionMode(TTextEditorSelectionMode mode) {
    TemporaryBlockMode = false;
    SelectionModeValue = mode;
    InvalidateAll();
}

const TTextEditorMultiFileInfo& TTextEditor::ActiveLanguage() const {
    return Shown->Language ? *Shown->Language : *OwnLanguageValue;
}

TColor TTextEditor::DefaultBackgroundColor() const {
    return OwnLanguageValue->Colors[ccNormal].Back;
}

void TTextEditor::SetDefaultBackgroundColor(TColor color) {
    OwnLanguageValue->Colors[ccNormal].Back = color;
    InvalidateAll();
}

TColor TTextEditor::DefaultForegroundColor() const {
    return OwnLanguageValue->Colors[ccNormal].Text;
}

void TTextEditor::SetDefaultForegroundColor(TColor color) {
    OwnLanguageValue->Colors[ccNormal].Text = color;
    InvalidateAll();
}

// --- Undo -----------------------------------------------------------------------------------

bool TTextEditor::UndoEnabled() const {
    return Shown->UndoBuffer() != nullptr;
}

void TTextEditor::Undo() {
    if (!UndoEnabled())
        return;
    TUpdateScope update(*this);
    // The replay's change notifications come as one, at the end.
    TUndoGroupScope group(*this);
    Shown->UndoBuffer()->Undo();
}

void TTextEditor::Redo() {
    if (!UndoEnabled())
        return;
    TUpdateScope update(*this);
    TUndoGroupScope group(*this);
    Shown->UndoBuffer()->Redo();
}

void TTextEditor::BeginUndoBlock() {
    if (!UndoEnabled())
        return;
    if (UndoGroupDepth++ == 0) {
        ChangedInGroup = false;
        Shown->UndoBuffer()->OpenGroup();
    }
}

void TTextEditor::EndUndoBlock() {
    if (!UndoEnabled() || UndoGroupDepth == 0)
        return;
    if (--UndoGroupDepth > 0)
        return;
    Shown->UndoBuffer()->CloseGroup();
    if (ChangedInGroup) {
        ChangedInGroup = false;
        ChangeNotification();
    }
}

// --- Change notification ----------------------------------------------------------------

void TTextEditor::ChangeNotification() {
    if (UndoGroupDepth > 0) {
        ChangedInGroup = true;
        return;
    }
    SetModified(true);
    NotifyHelpers(hrTextChanged, 0);
    SyncScrollBars();
    View->OnChanged();
}

void TTextEditor::SetModified(bool modified) {
    if (Shown->Modified == modified)
        return;
    Shown->Modified = modified;
    View->OnModifiedChanged();
}

void TTextEditor::NotifyHelpers(TTextEditorHelperReason reason, int argument) {
    for (TTextEditorHelper* helper : Helpers)
        helper->Notify(reason, argument);
}

// --- Repainting ---------------------------------------------------------------------------

void TTextEditor::BeginUpdate() {
    ++UpdateCount;
}

void TTextEditor::EndUpdate() {
    if (UpdateCount == 0 || --UpdateCount > 0)
        return;
    RunRepaintPass();
    SyncCaret();
}

void TTextEditor::InvalidateLines(int from, int to) {
    if (from > to)
        std::swap(from, to);
    const int first = std::max(from, TopLine());
    const int last =
        std::min({to, TopLine() + GeometryValue.PaintRows() - 1, Shown->LineCount() - 1});
    for (int line = first; line <= last; ++line)
        Shown->Lines.Get(line).Set(lfInvalid);
    RunRepaintPass();
}

void TTextEditor::InvalidateFrom(int line) {
    InvalidFromLine = std::min(InvalidFromLine, std::max(line, 0));
    RunRepaintPass();
}

void TTextEditor::InvalidateAll() {
    FullRepaintPending = true;
    RunRepaintPass();
}

void TTextEditor::RunRepaintPass() {
    if (UpdateCount > 0)
        return;
    SendRepaintRequests();
    NotifyHelpers(hrRepaintDone, 0);
}

// Collects what the marks ask for in the visible rows, clears the marks, and tells the linked
// editor first and then the own view.
void TTextEditor::SendRepaintRequests() {
    const int top = TopLine();
    const int rows = GeometryValue.PaintRows();
    const int end = std::min(top + rows, Shown->LineCount());
    const bool all = FullRepaintPending;
    const int from = InvalidFromLine < top + rows ? std::max(InvalidFromLine, top) : INT_MAX;
    std::vector<std::pair<int, int>> ranges;
    for (int line = top; line < end; ++line) {
        TTextEditorLine& text = Shown->Lines.Get(line);
        if (!text.Has(lfInvalid))
            continue;
        text.Clear(lfInvalid);
        if (all || line >= from)
            continue;
        if (!ranges.empty() && ranges.back().second == line - 1)
            ranges.back().second = line;
        else
            ranges.emplace_back(line, line);
    }
    FullRepaintPending = false;
    InvalidFromLine = INT_MAX;

    TTextEditorView* views[] = {
        LinkedEditor && LinkedEditor->Shown == Shown ? LinkedEditor->View : nullptr, View};
    for (TTextEditorView* view : views) {
        if (!view)
            continue;
        if (all) {
            view->RepaintAll();
            continue;
        }
        for (const auto& [first, last] : ranges)
            view->RepaintLines(first, last);
        if (from != INT_MAX)
            view->RepaintFrom(from);
    }
}

void TTextEditor::SyncCaret() {
    if (UpdateCount > 0)
        return;
    const TCaretShape caret = Caret();
    if (caret == LastCaret)
        return;
    LastCaret = caret;
    View->UpdateCaret(caret);
}

void TTextEditor::SyncScrollBars() {
    const bool verticalShown = GeometryValue.VerticalBarShown;
    const bool horizontalShown = GeometryValue.HorizontalBarShown;
    const TScrollBars bars = GeometryValue.FitScrollBars(
        {Shown->LineCount(), TopLine(), LeftColumn(), LongestVisibleLine(),
         OptionsValue.AutoVScrollBar, OptionsValue.AutoHScrollBar});
    if (bars == LastScrollBars)
        return;
    LastScrollBars = bars;
    View->UpdateScrollBars(bars);
    if (verticalShown != GeometryValue.VerticalBarShown ||
        horizontalShown != GeometryValue.HorizontalBarShown)
        InvalidateAll();
}

int TTextEditor::LongestVisibleLine() const {
    const int end = std::min(TopLine() + GeometryValue.PaintRows(), Shown->LineCount());
    int longest = 0;
    for (int line = TopLine(); line < end; ++line)
        longest = std::max(longest, LineLength(line));
    return longest;
}

// --- Told by the file ---------------------------------------------------------------------

void TTextEditor::LinesInserted(int line) {
    if (Shown->Highlighter)
        Shown->Highlighter->LineInserted(std::max(line - 1, 0), *Shown);
    InvalidateFrom(line);
    SyncScrollBars();
    View->OnLineCountChanged();
}

void TTextEditor::LinesCleared() {
    TUpdateScope update(*this);
    Shown->SetCaretLine(0);
    Shown->SetCaretColumn(0);
    Shown->SetTopLine(0);
    if (Shown->Highlighter)
        Shown->Highlighter->RescanAll(*Shown);
    InvalidateAll();
    SyncScrollBars();
    View->OnLineCountChanged();
}

void TTextEditor::FileLoaded() {
    TUpdateScope update(*this);
    InvalidateAll();
    SyncScrollBars();
    View->OnLineCountChanged();
    View->OnSelectionChanged();
}

} // namespace corvid
