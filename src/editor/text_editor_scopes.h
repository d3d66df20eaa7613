#pragma once

#include "editor/text_editor.h"

namespace corvid {

// Painting suspended for a command; the pending repaints go out when the last scope ends.
class TTextEditor::TUpdateScope {
public:
    explicit TUpdateScope(TTextEditor& editor) : Editor(editor) { Editor.BeginUpdate(); }
    ~TUpdateScope() { Editor.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TTextEditor& Editor;
};

// One undo step for a command made of several primitives.
class TTextEditor::TUndoGroupScope {
public:
    explicit TUndoGroupScope(TTextEditor& editor) : Editor(editor) { Editor.BeginUndoBlock(); }
    ~TUndoGroupScope() { Editor.EndUndoBlock(); }
    TUndoGroupScope(const TUndoGroupScope&) = delete;
    TUndoGroupScope& operator=(const TUndoGroupScope&) = delete;

private:
    TTextEditor& Editor;
};

// The largest column a primitive pads a line to: a place far beyond any text must not make
// the editor allocate gigabytes of blanks.
inline constexpr int MaximumColumn = 1 << 20;

} // namespace corvid
