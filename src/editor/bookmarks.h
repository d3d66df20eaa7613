#pragma once

#include "editor/colour_cells.h"
#include "editor/paint_row.h"
#include "editor/position_rules.h"
#include "editor/text_position.h"

#include <cstdint>
#include <string>

namespace corvid {

class TColourRow;
class TTextEditor;
class TTextEditorBookmarkList;

// A place in a document that follows the text as it is edited, and may colour its line and
// draw in the margin. A bookmark in a file's list is owned by that list.
class TTextEditorBookmark {
public:
    TTextEditorBookmark() = default;
    TTextEditorBookmark(int line, int column) : LineValue(line), ColumnValue(column) {}
    TTextEditorBookmark(const TTextEditorBookmark&) = delete;
    TTextEditorBookmark& operator=(const TTextEditorBookmark&) = delete;
    virtual ~TTextEditorBookmark() = default;

    int Line() const { return LineValue; }
    int Column() const { return ColumnValue; }
    TTextPosition Position() const { return {LineValue, ColumnValue}; }

    virtual void SetPosition(int line, int column);
    virtual void SetLine(int line);
    virtual void SetColumn(int column);

    // Called after the text changed, with the edit's line and column. A file's list calls them
    // for the marks an edit can concern: those on the edited line, for a line edit those from
    // it down, and every region.
    virtual void LineSplit(int line, int column);
    virtual void LinesJoined(int line, int column);
    virtual void TextInserted(int line, int column, int count);
    virtual void TextDeleted(int line, int column, int count);
    // A stream of lines deleted in one step; the result is that of the per-line edits.
    virtual void RangeDeleted(const TDeletedRange& range);

    // Painting of a line the bookmark lies on (a region: a line it covers).
    virtual void ColorLine(int line, const TTextEditor& editor, TColourRow& row) const;
    virtual void PaintGutter(int line, const TTextEditor& editor, TGutterMarks& marks) const;

    virtual bool IsRegion() const { return false; }

protected:
    // Stores the start point and keeps the owning list's line index up to date.
    void StorePosition(int line, int column);

private:
    int LineValue = -1;
    int ColumnValue = -1;
    TTextEditorBookmarkList* Owner = nullptr;
    uint64_t Order = 0; // place in the owner's list order
    friend class TTextEditorBookmarkList;
};

// A stretch of text from the start point to the exclusive end point; either may come first.
class TTextEditorRegionBookmark : public TTextEditorBookmark {
public:
    bool AutoCollapse = false;

    int EndLine() const { return EndLineValue; }
    int EndColumn() const { return EndColumnValue; }
    TTextPosition EndPosition() const { return {EndLineValue, EndColumnValue}; }

    virtual void SetEndPosition(int line, int column);
    virtual void SetEndLine(int line);
    virtual void SetEndColumn(int column);

    int UpperLine() const;
    int LowerLine() const;
    int UpperColumn() const;
    int LowerColumn() const;
    TTextPosition Upper() const { return {UpperLine(), UpperColumn()}; }
    TTextPosition Lower() const { return {LowerLine(), LowerColumn()}; }

    void LineSplit(int line, int column) override;
    void LinesJoined(int line, int column) override;
    void TextInserted(int line, int column, int count) override;
    void TextDeleted(int line, int column, int count) override;
    void RangeDeleted(const TDeletedRange& range) override;

    // The covered columns in the language's selection colours, priority 100.
    void ColorLine(int line, const TTextEditor& editor, TColourRow& row) const override;

    bool IsRegion() const override { return true; }

protected:
    void StoreEndPosition(int line, int column);

private:
    int EndLineValue = -1;
    int EndColumnValue = -1;

    bool StartIsUpper() const;
    // Moves both points, the start by its own rule and the end by the end rule.
    template <typename StartRule, typename EndRule>
    void MoveBoth(StartRule start, EndRule end);
};

// The selection: a region that, with AutoCollapse on, becomes (-1, -1)-(-1, -1) as soon as
// its two ends meet, so an empty selection is always no selection.
class TTextEditorSelectionBookmark : public TTextEditorRegionBookmark {
public:
    TTextEditorSelectionBookmark() { AutoCollapse = true; }

    void SetPosition(int line, int column) override;
    void SetEndPosition(int line, int column) override;

private:
    void CollapseWhenEmpty();
};

// A general-purpose mark with two texts and a value for the caller's own use.
class TBookmark : public TTextEditorBookmark {
public:
    using TTextEditorBookmark::TTextEditorBookmark;

    std::string Name;
    std::string Description;
    int32_t Tag = 0;
};

// A build message at its place.
class TMessageBookmark : public TBookmark {
public:
    using TBookmark::TBookmark;

    std::string Message;
};

// A build message with the file it refers to. The IDE keeps these beside its message list,
// not in a file's bookmarks: Line is the message's 1-based line, Column 0-based.
class TErrorBookmark : public TMessageBookmark {
public:
    using TMessageBookmark::TMessageBookmark;

    std::string ModuleName;
};

// A source line that produced 68HC11 code: its address, and the breakpoint and execution point
// the debugger keeps there. Changing a flag repaints the line in Editor.
class THC11SymbolBookmark : public TTextEditorBookmark {
public:
    THC11SymbolBookmark(TTextEditor* editor, int line, int address)
        : TTextEditorBookmark(line, 0), Address(address), Editor(editor) {}

    int32_t Address;
    TTextEditor* Editor; // not owned

    bool ExecutionPoint() const { return ExecutionPointValue; }
    bool Breakpoint() const { return BreakpointValue; }
    bool Unplaced() const { return UnplacedValue; }
    void SetExecutionPoint(bool value) { Change(ExecutionPointValue, value); }
    void SetBreakpoint(bool value) { Change(BreakpointValue, value); }
    void SetUnplaced(bool value) { Change(UnplacedValue, value); }

    // A breakpoint line is white on red, or on green when the target did not take it.
    void ColorLine(int line, const TTextEditor& editor, TColourRow& row) const override;
    // A filled mark (aqua, red with a breakpoint) or a green cross when unplaced, and a dotted
    // frame around the row at the execution point.
    void PaintGutter(int line, const TTextEditor& editor, TGutterMarks& marks) const override;

private:
    bool ExecutionPointValue = false;
    bool BreakpointValue = false;
    bool UnplacedValue = false;

    void Change(bool& flag, bool value);
};

// Colours of the symbol marks, in the stored Windows form.
inline constexpr TColor SymbolMarkColor = 0xFFFF00;         // aqua
inline constexpr TColor BreakpointColor = 0x0000FF;         // red
inline constexpr TColor UnplacedBreakpointColor = 0x008000; // green
inline constexpr TColor BreakpointTextColor = 0xFFFFFF;     // white

inline constexpr int SelectionPriority = 100;
inline constexpr int BreakpointPriority = 200;

} // namespace corvid
