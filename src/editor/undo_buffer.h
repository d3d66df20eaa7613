#pragma once

#include <deque>
#include <string>

namespace corvid {

class TTextEditorFile;

// What one primitive edit recorded: enough to take it back and to make it again.
enum class TUndoRecordKind {
    InsertLine, // line Line was split at Column
    DeleteLine, // line Line was cut at Column (Text went) and joined with the next one
    InsertText, // Text was inserted at (Line, Column)
    DeleteText, // Text was deleted from (Line, Column)
    Block,      // group marker: everything between two markers is one undo step
};

struct TTextEditorUndoRecord {
    TUndoRecordKind Kind = TUndoRecordKind::Block;
    int Line = 0;
    int Column = 0;
    std::string Text;

    friend bool operator==(const TTextEditorUndoRecord&, const TTextEditorUndoRecord&) = default;
};

// The edit history of one file. Records 0 .. Position - 1 are done and can be undone, the rest
// redone; a new record drops the redo tail. Undo and redo replay through the primitives of the
// editor showing the file, with recording off, so bookmarks and the highlighter follow.
class TTextEditorUndoBuffer {
public:
    explicit TTextEditorUndoBuffer(TTextEditorFile& owner) : Owner(owner) {}
    TTextEditorUndoBuffer(const TTextEditorUndoBuffer&) = delete;
    TTextEditorUndoBuffer& operator=(const TTextEditorUndoBuffer&) = delete;

    TTextEditorFile& Owner;
    // The oldest record goes for every new one beyond this count; below 1 nothing is recorded.
    int Limit = 1000000;
    bool Recording = true;

    int Position() const { return PositionValue; }
    int Count() const { return static_cast<int>(Records.size()); }
    const TTextEditorUndoRecord& Record(int index) const {
        return Records[static_cast<size_t>(index)];
    }

    void AddInsertLine(int line, int column);
    void AddDeleteLine(std::string text, int line, int column);
    void AddInsertText(std::string text, int line, int column);
    void AddDeleteText(std::string text, int line, int column);
    void AddBlock();

    // Brackets a group. The opening marker is written only when the group records something,
    // so a command that changes nothing leaves the history, its redo tail included, untouched.
    void OpenGroup();
    // True when the group recorded anything.
    bool CloseGroup();

    // One record, or everything back to the last group marker pair.
    void Undo();
    void Redo();
    void Clear();

private:
    std::deque<TTextEditorUndoRecord> Records;
    int PositionValue = 0;
    bool GroupPending = false;

    bool CanRecord() const { return Limit >= 1 && Recording; }
    void Add(TTextEditorUndoRecord record);
    void Append(TTextEditorUndoRecord record);
    void Reverse(const TTextEditorUndoRecord& record);
    void Apply(const TTextEditorUndoRecord& record);
};

} // namespace corvid
