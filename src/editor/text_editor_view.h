#pragma once

#include "editor/colour_cells.h"

#include <string>

namespace corvid {

struct TScrollBarState {
    bool Visible = false;
    int Maximum = 0; // the range is 0 .. Maximum
    int Page = 0;    // the thumb
    int Position = 0;
    friend bool operator==(const TScrollBarState&, const TScrollBarState&) = default;
};

struct TScrollBars {
    TScrollBarState Vertical;
    TScrollBarState Horizontal;
    friend bool operator==(const TScrollBars&, const TScrollBars&) = default;
};

inline constexpr int ScrollBarThickness = 15; // pixels, along the right and bottom edges
inline constexpr TColor ScrollBarColor = 0xD0D0D0;

// Where the caret is drawn, in client pixels: a bar 2 pixels wide in insert mode, a block one
// character wide in overwrite mode.
struct TCaretShape {
    bool Visible = false;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    TColor Color = 0;
    friend bool operator==(const TCaretShape&, const TCaretShape&) = default;
};

// What the editor engine asks of the widget that shows it. Every call comes on the UI thread,
// after the engine's state is already changed; the widget paints later from the rows that
// TTextEditor::PaintRow gives it. The defaults do nothing, so a view overrides what it needs.
class TTextEditorView {
public:
    virtual ~TTextEditorView() = default;

    // Repaint requests in document lines; rows outside the window can be ignored.
    virtual void RepaintLines(int /*firstLine*/, int /*lastLine*/) {}
    // Every row from this line's down to the bottom of the window (the rows past the end of
    // the document included).
    virtual void RepaintFrom(int /*line*/) {}
    virtual void RepaintAll() {}
    // The window moved by rowDelta rows (positive: towards the end of the document), so the
    // painted pixels can move up by rowDelta rows; the uncovered rows follow as RepaintLines.
    virtual void ScrollRows(int /*rowDelta*/) {}

    virtual void UpdateScrollBars(const TScrollBars& /*bars*/) {}
    virtual void UpdateCaret(const TCaretShape& /*caret*/) {}

    // Clipboard text with "\n" line ends.
    virtual std::string ClipboardText() { return {}; }
    virtual void SetClipboardText(const std::string& /*text*/) {}

    virtual void OnChanged() {}
    virtual void OnCaretMoved() {}
    virtual void OnSelectionChanged() {}
    virtual void OnModifiedChanged() {}
    virtual void OnLineCountChanged() {}
    virtual void OnTopLeftMoved() {}
    virtual void OnOverwriteChanged() {}
};

} // namespace corvid
