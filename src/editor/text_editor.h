#pragma once

#include "editor/bookmarks.h"
#include "editor/editor_geometry.h"
#include "editor/editor_helpers.h"
#include "editor/editor_options.h"
#include "editor/editor_search.h"
#include "editor/language_info.h"
#include "editor/paint_row.h"
#include "editor/text_editor_file.h"
#include "editor/text_editor_view.h"
#include "editor/words.h"
#include "foundation/object_list.h"

#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

// The editor engine: it shows one TTextEditorFile, changes it only through four primitives
// that keep bookmarks, undo history, highlighting and repaint marks consistent, composes every
// editing command from them, moves the caret and the selection, searches, and computes what
// each visible row shows. A TTextEditorView paints and supplies the clipboard; without one the
// engine runs headless. All calls belong to the UI thread.
class TTextEditor {
public:
    TTextEditor();
    ~TTextEditor();
    TTextEditor(const TTextEditor&) = delete;
    TTextEditor& operator=(const TTextEditor&) = delete;

    // --- The file shown, the view, the settings -------------------------------------------

    TTextEditorFile& File() const { return *Shown; }
    // Shows the file; none shows the editor's own file, which keeps no undo history.
    void SetFile(TTextEditorFile* file);
    // The view is not owned and must outlive the editor or be replaced first; none: headless.
    void SetView(TTextEditorView* view);
    // A second editor showing the same file, repainted with this one; not owned.
    TTextEditor* LinkedEditor = nullptr;

    const TTextEditorOptions& Options() const { return OptionsValue; }
    void SetOptions(const TTextEditorOptions& options);
    bool Overwrite() const { return OverwriteValue; }
    void SetOverwrite(bool overwrite);
    TTextEditorSelectionMode SelectionMode() const { return SelectionModeValue; }
    // Forgets a block mode that Alt switched on for one selection, and repaints.
    void SetSelectionMode(TTextEditorSelectionMode mode);

    TTextEditorMultiFileInfo& OwnLanguage() { return *OwnLanguageValue; }
    // The shown file's language, or the editor's own.
    const TTextEditorMultiFileInfo& ActiveLanguage() const;
    TColor DefaultBackgroundColor() const;
    void SetDefaultBackgroundColor(TColor color);
    TColor DefaultForegroundColor() const;
    void SetDefaultForegroundColor(TColor color);

    TObjectList<TTextEditorHelper> Helpers; // owned, called in list order

    // --- Primitives: every change of text goes through these ------------------------------
    // Each does nothing for a line outside the document or a negative column.

    void InsertText(std::string_view text, int line, int column);
    void DeleteText(int line, int column, int count);
    void SplitLine(int line, int column);
    // On the last line only the cut happens, recorded as a deletion of the cut text.
    void JoinLines(int line, int column);

    // --- Undo --------------------------------------------------------------------------------

    bool UndoEnabled() const;
    void Undo();
    void Redo();
    // Nesting brackets around one undo step; the change notification waits for the last end.
    void BeginUndoBlock();
    void EndUndoBlock();

    // --- Repainting ---------------------------------------------------------------------

    // Nesting: the repaint requests of the lines marked meanwhile go out at the last end.
    void BeginUpdate();
    void EndUpdate();
    void InvalidateLines(int from, int to);
    void InvalidateFrom(int line);
    void InvalidateAll();

    // --- Keys and editing commands ------------------------------------------------------

    // A typed character: 32 to 126 and 160 to 255 are inserted; 8, 9 and 13 act as
    // Backspace, Tab and Enter.
    void KeyPress(char character);
    void KeyDown(TEditorKey key, TShiftState shift = {});
    // Printable runs are inserted, other characters act as typed; one undo step.
    void TypeText(std::string_view text);
    // Inserts a smart or fixed tab's worth of spaces and returns the count.
    int InsertTab(int line, int column);
    void DuplicateLine(int line);
    void DeleteLine();
    void DeleteToEndOfLine(int line, int column);
    void DeleteWord();
    void BlockIndent();
    void BlockUndent();
    void DeleteSelection();
    void Paste();
    void PasteIntoRows();
    // Inserts after the old text, then deletes it, so marks around the old text stay put.
    void ReplaceText(int line, int column, std::string_view newText, int oldLength);
    void GotoLineCentered(int line);
    int SmartTabWidth(int line, int column) const;
    int AutoIndentColumn(int line) const;

    // --- Caret and window position ----------------------------------------------------------

    int CaretLine() const { return Shown->CaretLine(); }
    int CaretColumn() const { return Shown->CaretColumn(); }
    int TopLine() const { return Shown->TopLine(); }
    int LeftColumn() const { return Shown->LeftColumn(); }
    // With Shift (and KeyboardSelectsText) the selection follows the caret; without it the
    // selection goes unless PersistentBlocks.
    void MoveCaret(int line, int column, TShiftState shift = {});
    // Moves the caret as typing does, whatever modifiers are held.
    void PlaceCaret(int line, int column);
    void ScrollToCaret();
    void SetTopLeft(int line, int column);

    // --- Selection and clipboard -------------------------------------------------------------

    TTextEditorSelectionBookmark& Selection() const { return Shown->Selection(); }
    bool HasSelection() const;
    // Places are moved into the document. With Alt held the selection is a block, for this
    // selection only.
    void StartSelection(int line, int column, TShiftState shift = {});
    void ExtendSelection(int line, int column);
    void ClearSelection();
    // Lines joined by CR LF; the clipboard receives "\n" line ends.
    std::string SelectedText() const;
    void CopyToClipboard();
    void AppendToClipboard();

    // --- Mouse, in client pixels ----------------------------------------------------------

    void MouseDown(int x, int y, TShiftState shift = {});
    void MouseMove(int x, int y, TShiftState shift = {});
    void MouseUp();
    // One line per 120 units; positive scrolls towards the start.
    void MouseWheel(int delta);

    // --- Words and search ---------------------------------------------------------------

    int NextWordStart(int line, int column) const;
    int PreviousWordStart(int line, int column) const;
    std::optional<TWordBounds> WordBounds(int line, int column) const;
    std::string WordAt(int line, int column) const;
    std::optional<TFindResult> Find(std::string_view pattern, int line, int column,
                                    unsigned options) const;

    // --- Geometry and painting ----------------------------------------------------------

    void SetFontMetrics(int lineHeight, int charWidth);
    // The whole control, scroll bars included.
    void SetClientSize(int width, int height);
    void SetFocused(bool focused);
    bool Focused() const { return FocusedValue; }
    const TEditorGeometry& Geometry() const { return GeometryValue; }
    int VisibleRows() const { return GeometryValue.VisibleRows(); }
    int VisibleColumns() const { return GeometryValue.VisibleColumns(); }
    int RowY(int line) const { return GeometryValue.RowY(line, TopLine()); }
    int ColumnX(int column) const { return GeometryValue.ColumnX(column, LeftColumn()); }
    TScrollBars ScrollBars() const { return LastScrollBars; }
    void VerticalScrolled(int position);
    void HorizontalScrolled(int position);
    // Nesting; the caret shows only while nothing hides it.
    void ShowCaret();
    void HideCaret();
    TCaretShape Caret() const;

    // The colours of a line's visible cells from every contributor, in order: language,
    // highlighter, caret line, bookmarks, helpers.
    void ColorLine(int line, TColourRow& row) const;
    // Everything to paint for visible row index row (0 at the top); result is reused.
    void PaintRow(int row, TTextEditorRow& result) const;

private:
    enum class TCaretMove { Navigation, Typing, VerticalKey };

    std::unique_ptr<TTextEditorFile> OwnFile;
    TTextEditorFile* Shown = nullptr;
    TTextEditorView NullView;
    TTextEditorView* View = &NullView;
    TTextEditorOptions OptionsValue;
    std::unique_ptr<TTextEditorMultiFileInfo> OwnLanguageValue;
    TEditorGeometry GeometryValue;

    bool OverwriteValue = false;
    TTextEditorSelectionMode SelectionModeValue = smStream;
    bool TemporaryBlockMode = false;

    int UpdateCount = 0;
    bool FullRepaintPending = false;
    int InvalidFromLine = INT_MAX;
    int UndoGroupDepth = 0;
    bool ChangedInGroup = false;

    int CaretHideCount = 0;
    bool FocusedValue = false;
    TCaretShape LastCaret;
    TScrollBars LastScrollBars;

    mutable std::vector<TTextEditorBookmark*> LineBookmarks; // reused while painting

    bool ButtonDown = false;
    bool Dragging = false;
    TTextPosition PressPosition;
    int WheelRemainder = 0;

    class TUpdateScope;
    class TUndoGroupScope;
    friend class TTextEditorFile;
    friend class TTextEditorLineList;

    bool IsLine(int line) const { return line >= 0 && line < Shown->LineCount(); }
    bool IsPlace(int line, int column) const;
    // The place moved into the document: lines into its range, columns to 0 or more.
    TTextPosition ClampedPlace(int line, int column) const;
    int LineLength(int line) const;
    std::string_view LineText(int line) const { return Shown->LineText(line); }
    void ApplyTrailingBlankRule(TTextEditorLine& line) const;
    void KeepViewInDocument();
    void ChangeNotification();
    void SetModified(bool modified);
    void NotifyHelpers(TTextEditorHelperReason reason, int argument);
    void UpdateFileLoadRules();

    void RunRepaintPass();
    void SendRepaintRequests();
    void SyncCaret();
    void SyncScrollBars();
    int LongestVisibleLine() const;

    void MoveCaretTo(int line, int column, TShiftState shift, TCaretMove move);
    void ScrollToCaretWith(TCaretMove move);
    void RepaintCaretLines(int oldLine, int newLine);
    TTextPosition PlaceAt(int x, int y) const;

    void TypeCharacter(char character);
    void TypePrintable(std::string_view text);
    void Backspace();
    void Enter();
    void Tab();
    void DeleteKey(TShiftState shift);
    void InsertKey(TShiftState shift);
    void DeleteSelectionBeforeTyping();
    void NavigationKey(TEditorKey key, TShiftState shift);

    void DeleteBlockSelection();
    void DeleteStreamSelection();
    void DeleteLineRange(const TDeletedRange& range);
    void SetSelectionRange(TTextPosition anchor, TTextPosition end);
    // The lines a block command works on: the selection's, less a last line that the stream
    // selection only touches at column 0.
    int LastBlockCommandLine() const;
    bool SelectionIsBlock() const { return SelectionModeValue == smBlock; }

    void PaintText(int line, TTextEditorRow& result) const;
    void PaintMarks(int line, TTextEditorRow& result) const;

    // Told by the file.
    void LinesInserted(int line);
    void LinesCleared();
    void FileLoaded();
    void FileDestroyed(TTextEditorFile& file);
};

} // namespace corvid
