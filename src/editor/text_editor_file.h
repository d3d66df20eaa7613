#pragma once

#include "editor/bookmark_list.h"
#include "editor/gap_vector.h"
#include "editor/text_editor_line.h"
#include "editor/text_position.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace corvid {

class TKStream;
class TLoadedText;
class TTextEditor;
class TTextEditorFile;
class TTextEditorMultiFileInfo;
class TTextEditorSyntaxHighlighter;
class TTextEditorUndoBuffer;

// The lines of one document, held by value; there is always at least one. A reference to a
// line stays valid only until lines are inserted or deleted. The lines sit in a gap buffer, so
// inserting and deleting near the last change costs no more in a million-line document than in
// a short one. When an editor shows the document, adding, inserting and clearing tell it.
class TTextEditorLineList {
public:
    explicit TTextEditorLineList(TTextEditorFile& owner);
    TTextEditorLineList(const TTextEditorLineList&) = delete;
    TTextEditorLineList& operator=(const TTextEditorLineList&) = delete;

    const char* ClassName() const { return "TTextEditorLineList"; }

    TTextEditorFile& Owner;

    int Count() const { return static_cast<int>(Lines.size()); }
    // The line at index; an index outside the document is a programming error.
    TTextEditorLine& Get(int index);
    const TTextEditorLine& Get(int index) const;

    // Appends; on a cleared document the first call fills the placeholder line instead.
    TTextEditorLine& AddLine(std::string_view text);
    TTextEditorLine& AddLine(std::string_view text, TTextEditorLineData* data, bool ownsData);
    TTextEditorLine& InsertLine(int index, std::string_view text, bool ownsData,
                                TTextEditorLineData* data);
    // Lower-level changes for the editor's primitives: nobody else is told.
    TTextEditorLine& InsertRaw(int index, TLineText text);
    void Delete(int index);
    void DeleteRange(int index, int count);
    // Leaves one placeholder line.
    void Clear();
    void Reserve(int count) { Lines.Reserve(static_cast<size_t>(count)); }
    // Trims the capacity to the lines, keeping a little room so that the first new line after a
    // load does not move every line.
    void Pack() { Lines.ShrinkToFit(static_cast<size_t>(Count() / 64 + 64)); }

private:
    TGapVector<TTextEditorLine> Lines;

    bool HasOnlyPlaceholder() const;
    // Leaves one placeholder line without telling the editor.
    void Cleared();
    // The lines of a load, in order; there is at least one.
    void AssignLoaded(std::vector<TTextEditorLine>&& lines) { Lines.Assign(std::move(lines)); }
    friend class TTextEditorFile;
};

// Whether a new file keeps an undo history.
enum class TUndoMode { WithoutUndo, WithUndo };

// One open document: its lines, bookmarks and selection, undo history, view state and how it
// is stored on disk (plain, or enciphered under a password). Loading and saving keep the
// line-end style of the file.
class TTextEditorFile {
public:
    explicit TTextEditorFile(TUndoMode undo = TUndoMode::WithoutUndo);
    TTextEditorFile(const TTextEditorFile&) = delete;
    TTextEditorFile& operator=(const TTextEditorFile&) = delete;
    virtual ~TTextEditorFile();

    std::string FileName;
    std::string Password; // empty: a plain file
    bool UnixLineEnds = false;
    int64_t FileAge = 0; // modification time on disk as last seen, 0 when never read
    bool Modified = false;
    TTextEditorLineList Lines;
    // The selection is the first bookmark, created at (-1, -1)-(-1, -1).
    TTextEditorBookmarkList Bookmarks;
    TTextEditorSyntaxHighlighter* Highlighter = nullptr; // not owned
    TTextEditor* Editor = nullptr;                       // the editor showing the file
    TTextPosition SelectionAnchor;                       // where the selection was started
    const TTextEditorMultiFileInfo* Language = nullptr;  // overrides the editor's; not owned

    TTextEditorSelectionBookmark& Selection() const { return *SelectionBookmark; }
    // None for a file without undo history.
    TTextEditorUndoBuffer* UndoBuffer() const { return Undo.get(); }
    // Language, else the showing editor's, else the built-in default.
    const TTextEditorMultiFileInfo& ActiveLanguage() const;

    int TopLine() const { return TopLineValue; }
    int CaretLine() const { return CaretLineValue; }
    int LeftColumn() const { return LeftColumnValue; }
    int CaretColumn() const { return CaretColumnValue; }
    // Lines are clamped into the document, columns to 0 or more.
    void SetTopLine(int line);
    void SetCaretLine(int line);
    void SetLeftColumn(int column);
    void SetCaretColumn(int column);

    int LineCount() const { return Lines.Count(); }
    std::string_view LineText(int index) const { return Lines.Get(index).Text.View(); }

    // The tab width and trailing-blank rule that loading applies; the showing editor keeps them
    // equal to its TabSize and RemoveTrailingBlanks.
    int LoadTabSize = 2;
    bool LoadRemovesTrailingBlanks = true;

    // Reads the file, through the enciphered stream when Password is set. A wrong password or
    // an unreadable file raises before any line changes.
    void LoadFromFile(const std::string& fileName);
    // Writes the file atomically: on failure the old file on disk stays as it was, and so do
    // the lines' modified marks. Afterwards the undo history goes when the showing editor's
    // UndoAfterSave is off.
    void SaveToFile(const std::string& fileName);
    // True when the file named FileName starts with the enciphered-file mark.
    bool IsEncrypted() const;

    void LoadFromStream(TKStream& stream);
    void SaveToStream(TKStream& stream);

    // Replaces the whole document with the lines of the bytes, split like a file on load. The
    // undo history and the selection go, other bookmarks move into the new line range, and
    // the highlighter scans the whole text again.
    void LoadFromText(std::string_view bytes);
    // The document as saved: lines joined by the file's line end, none after the last.
    std::string Text() const;

private:
    int TopLineValue = 0;
    int LeftColumnValue = 0;
    int CaretLineValue = 0;
    int CaretColumnValue = 0;
    // The text of the last load; unchanged lines borrow their text from here.
    std::unique_ptr<char[]> LoadBuffer;
    TTextEditorSelectionBookmark* SelectionBookmark; // owned by Bookmarks
    std::unique_ptr<TTextEditorUndoBuffer> Undo;

    int ClampLine(int line) const;
    // Makes the loaded text the document's lines.
    void AssignLoaded(TLoadedText& text);
    void WriteTextTo(TKStream& stream) const;
    // Clears the modified marks, and asks for a repaint so that the margin marks go.
    void MarkLinesSaved();
};

} // namespace corvid
