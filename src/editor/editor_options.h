#pragma once

#include "editor/colour_cells.h"
#include "editor/paint_row.h"

#include <cstdint>

namespace corvid {

// The modifier keys held during a key or mouse event.
struct TShiftState {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

// The keys the editor handles itself; printable characters arrive through KeyPress.
enum class TEditorKey {
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Insert,
    Delete,
    Backspace,
    Enter,
    Tab,
};

enum TTextEditorSelectionMode { smStream = 0, smBlock = 1 };

// The editor's settings. Editing options first, then the display options; each with its
// default.
struct TTextEditorOptions {
    bool Modifiable = true; // false: typing, Delete and paste do nothing
    bool AutoCopyCutPaste = true;
    bool PersistentBlocks = true;
    bool OverwriteBlocks = false;
    bool KeyboardSelectsText = true;
    bool MouseSelectsText = true;
    bool MouseClickClearsSelection = true;
    bool LockCaretPosition = false;
    bool ArrowKeysScrollPage = false;
    int LineScrollThreshold = 5;
    int ColumnScrollThreshold = 10; // kept and shown; no caret move uses a column margin
    int TabSize = 2;
    bool SmartTabs = true;
    bool AutoIndent = true;
    bool RemoveTrailingBlanks = true;
    bool UndoAfterSave = true;
    bool ScrollThresholdEnabled = true;

    TColor CaretColor = 0x00FFFF;
    bool CaretOn = true;
    int LeftColumnMargin = 2; // character columns
    TColor LeftColumnColor = 0x800000;
    bool ShowModifiedLines = false;
    TColor ShowModifiedLinesColor = 0x00FFFF;
    bool ShowCaretLine = false;
    TPenStyle ShowCaretLinePenStyle = TPenStyle::Dotted;
    TColor ShowCaretLineColor = 0xC0C0C0;
    bool ShowCaretLineFG = true;
    TColor ShowCaretLineFGColor = 0xFFFFFF;
    bool ShowCaretLineBG = false;
    TColor ShowCaretLineBGColor = 0x400000;
    bool VisibleEOF = false;
    TColor VisibleEOFColor = 0xC0C0C0;
    bool FastScroll = true;
    bool AutoHScrollBar = true;
    bool AutoVScrollBar = true;

    bool ShowsCaretLine() const { return ShowCaretLine || ShowCaretLineFG || ShowCaretLineBG; }
};

} // namespace corvid
