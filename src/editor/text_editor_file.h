#pragma once

#include "editor/text_editor_line.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

class TKStream;
class TTextEditorFile;

// The lines of one document, held by value; there is always at least one. A reference to a
// line stays valid only until lines are inserted or deleted.
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
    // Appends a line whose text borrows from the owner's load buffer.
    void AddBorrowedLine(TLineText text);
    void Delete(int index);
    // Leaves one placeholder line.
    void Clear();
    void Reserve(int count) { Lines.reserve(static_cast<size_t>(count)); }
    void Pack() { Lines.shrink_to_fit(); }

private:
    std::vector<TTextEditorLine> Lines;

    bool HasOnlyPlaceholder() const;
};

// One open document: its lines, its view state and how it is stored on disk (plain, or
// enciphered under a password). Loading and saving keep the line-end style of the file.
class TTextEditorFile {
public:
    TTextEditorFile();
    TTextEditorFile(const TTextEditorFile&) = delete;
    TTextEditorFile& operator=(const TTextEditorFile&) = delete;
    virtual ~TTextEditorFile();

    std::string FileName;
    std::string Password; // empty: a plain file
    bool UnixLineEnds = false;
    int64_t FileAge = 0; // modification time on disk as last seen, 0 when never read
    bool Modified = false;
    TTextEditorLineList Lines;

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

    // The tab width and trailing-blank rule that loading applies.
    int LoadTabSize = 2;
    bool LoadRemovesTrailingBlanks = true;

    // Reads the file, through the enciphered stream when Password is set. A wrong password or
    // an unreadable file raises before any line changes.
    void LoadFromFile(const std::string& fileName);
    // Writes the file atomically: on failure the old file on disk stays as it was, and so do
    // the lines' modified marks.
    void SaveToFile(const std::string& fileName);
    // True when the file named FileName starts with the enciphered-file mark.
    bool IsEncrypted() const;

    void LoadFromStream(TKStream& stream);
    void SaveToStream(TKStream& stream);

    // Replaces the whole document with the lines of the bytes, split like a file on load.
    void LoadFromText(std::string bytes);
    // The document as saved: lines joined by the file's line end, none after the last.
    std::string Text() const;

private:
    int TopLineValue = 0;
    int LeftColumnValue = 0;
    int CaretLineValue = 0;
    int CaretColumnValue = 0;
    // The bytes of the last load; unchanged lines borrow their text from here.
    std::unique_ptr<const std::string> LoadBuffer;

    int ClampLine(int line) const;
    void WriteTextTo(TKStream& stream) const;
    // Clears the modified marks, and asks for a repaint so that the margin marks go.
    void MarkLinesSaved();
};

} // namespace corvid
