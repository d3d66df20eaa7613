#pragma once

#include "editor/colour_cells.h"
#include "editor/paint_row.h"

#include <string_view>
#include <vector>

namespace corvid {

class TColourRow;
class TTextEditor;
class TTextEditorFile;

enum TTextEditorHelperReason : int {
    hrCaretMoved = 0,
    hrRepaintDone = 1,
    hrTextChanged = 2,
};

// Something that adds to the painting of an editor and follows what happens in it; the editor
// owns its helpers and calls them in list order.
class TTextEditorHelper {
public:
    virtual ~TTextEditorHelper() = default;

    virtual void ColorLine(int /*line*/, const TTextEditor& /*editor*/, TColourRow& /*row*/) const {
    }
    // Adds lines to draw over the text of the row at pixel y.
    virtual void PaintLine(int /*line*/, int /*y*/, const TTextEditor& /*editor*/,
                           TOverlay& /*overlay*/) const {}
    virtual void Notify(TTextEditorHelperReason /*reason*/, int /*argument*/) {}
};

inline constexpr TColor DiagramColor = 0x0000FF; // red

// One pair of parentheses on the caret line, as the diagram draws it: a bracket from the
// middle of the ")" cell to the middle of the "(" cell, above the row for an even count and
// below it for an odd one.
struct TDiagramBracket {
    int OpenColumn;
    int CloseColumn;
    int Count;
    friend bool operator==(const TDiagramBracket&, const TDiagramBracket&) = default;
};

// Draws how the parentheses of the caret line pair up. The rows it may draw over (Reach above
// and below the caret line) are repainted when the caret leaves the line or the text changes.
class TTextEditorParenthesisDiagramHelper : public TTextEditorHelper {
public:
    explicit TTextEditorParenthesisDiagramHelper(TTextEditor& editor);

    bool Enabled = true;
    int Reach() const { return ReachValue; }

    // The brackets of a line's text, in drawing order.
    static std::vector<TDiagramBracket> Brackets(std::string_view text);

    void PaintLine(int line, int y, const TTextEditor& editor, TOverlay& overlay) const override;
    void Notify(TTextEditorHelperReason reason, int argument) override;

private:
    TTextEditor& Editor;
    int ReachValue = 1;
    int LastCaretLine = -1;

    void InvalidateAround(int line, int reach);
    void UpdateReach();
};

// A stretch of one line shown in the highlighted-word colours (class 9, priority 200) until
// the caret moves or the text changes; the IDE uses it for search matches.
class TTextEditorHighlightWordHelper : public TTextEditorHelper {
public:
    explicit TTextEditorHighlightWordHelper(TTextEditor& editor) : Editor(editor) {}

    bool Active() const { return ActiveValue; }
    int Line = 0;
    int StartColumn = 0;
    int EndColumn = 0;               // inclusive
    TTextEditorFile* File = nullptr; // the file the stretch belongs to

    // Shows the stretch of the file the editor shows now.
    void Show();
    void Hide();

    void ColorLine(int line, const TTextEditor& editor, TColourRow& row) const override;
    void Notify(TTextEditorHelperReason reason, int argument) override;

private:
    TTextEditor& Editor;
    bool ActiveValue = false;
};

inline constexpr int HighlightWordPriority = 200;

} // namespace corvid
