#include "editor/undo_buffer.h"

#include "editor/text_editor.h"
#include "editor/text_editor_file.h"

namespace corvid {

namespace {

int Length(const std::string& text) {
    return static_cast<int>(text.size());
}

// Keeps Recording off for a replay and restores it however the replay ends.
class TRecordingOff {
public:
    explicit TRecordingOff(bool& recording) : Recording(recording), Saved(recording) {
        Recording = false;
    }
    ~TRecordingOff() { Recording = Saved; }
    TRecordingOff(const TRecordingOff&) = delete;
    TRecordingOff& operator=(const TRecordingOff&) = delete;

private:
    bool& Recording;
    bool Saved;
};

} // namespace

void TTextEditorUndoBuffer::AddInsertLine(int line, int column) {
    Add({TUndoRecordKind::InsertLine, line, column, {}});
}

void TTextEditorUndoBuffer::AddDeleteLine(std::string text, int line, int column) {
    Add({TUndoRecordKind::DeleteLine, line, column, std::move(text)});
}

void TTextEditorUndoBuffer::AddInsertText(std::string text, int line, int column) {
    Add({TUndoRecordKind::InsertText, line, column, std::move(text)});
}

void TTextEditorUndoBuffer::AddDeleteText(std::string text, int line, int column) {
    Add({TUndoRecordKind::DeleteText, line, column, std::move(text)});
}

void TTextEditorUndoBuffer::AddBlock() {
    if (CanRecord())
        Append({TUndoRecordKind::Block, 0, 0, {}});
}

void TTextEditorUndoBuffer::Add(TTextEditorUndoRecord record) {
    if (!CanRecord())
        return;
    if (GroupPending) {
        GroupPending = false;
        Append({TUndoRecordKind::Block, 0, 0, {}});
    }
    Append(std::move(record));
}

void TTextEditorUndoBuffer::Append(TTextEditorUndoRecord record) {
    Records.resize(static_cast<size_t>(PositionValue));
    Records.push_back(std::move(record));
    ++PositionValue;
    if (Count() > Limit) {
        Records.pop_front();
        --PositionValue;
    }
}

void TTextEditorUndoBuffer::OpenGroup() {
    GroupPending = CanRecord();
}

bool TTextEditorUndoBuffer::CloseGroup() {
    if (GroupPending) {
        GroupPending = false;
        return false;
    }
    AddBlock();
    return true;
}

void TTextEditorUndoBuffer::Clear() {
    Records.clear();
    PositionValue = 0;
    GroupPending = false;
}

void TTextEditorUndoBuffer::Undo() {
    if (!Owner.Editor)
        return;
    TRecordingOff off(Recording);
    bool inGroup = false;
    do {
        if (PositionValue > 0) {
            --PositionValue;
            const TTextEditorUndoRecord& record = Records[static_cast<size_t>(PositionValue)];
            if (record.Kind == TUndoRecordKind::Block)
                inGroup = !inGroup;
            else
                Reverse(record);
        }
        if (PositionValue == 0)
            inGroup = false;
    } while (inGroup);
}

void TTextEditorUndoBuffer::Redo() {
    if (!Owner.Editor)
        return;
    TRecordingOff off(Recording);
    bool inGroup = false;
    while (PositionValue < Count()) {
        const TTextEditorUndoRecord& record = Records[static_cast<size_t>(PositionValue)];
        if (record.Kind == TUndoRecordKind::Block)
            inGroup = !inGroup;
        else
            Apply(record);
        ++PositionValue;
        if (!inGroup)
            break;
    }
}

void TTextEditorUndoBuffer::Reverse(const TTextEditorUndoRecord& record) {
    TTextEditor& editor = *Owner.Editor;
    const int line = record.Line;
    const int column = record.Column;
    switch (record.Kind) {
    case TUndoRecordKind::InsertLine:
        editor.JoinLines(line, column);
        editor.PlaceCaret(line, column);
        break;
    case TUndoRecordKind::DeleteLine:
        editor.SplitLine(line, column);
        editor.InsertText(record.Text, line, column);
        editor.PlaceCaret(line, column + Length(record.Text));
        break;
    case TUndoRecordKind::InsertText:
        editor.DeleteText(line, column, Length(record.Text));
        editor.PlaceCaret(line, column);
        break;
    case TUndoRecordKind::DeleteText:
        editor.InsertText(record.Text, line, column);
        editor.PlaceCaret(line, column + Length(record.Text));
        break;
    case TUndoRecordKind::Block:
        break;
    }
}

void TTextEditorUndoBuffer::Apply(const TTextEditorUndoRecord& record) {
    TTextEditor& editor = *Owner.Editor;
    const int line = record.Line;
    const int column = record.Column;
    switch (record.Kind) {
    case TUndoRecordKind::InsertLine:
        editor.SplitLine(line, column);
        editor.PlaceCaret(line + 1, 0);
        break;
    case TUndoRecordKind::DeleteLine:
        editor.JoinLines(line, column);
        editor.PlaceCaret(line, column);
        break;
    case TUndoRecordKind::InsertText:
        editor.InsertText(record.Text, line, column);
        editor.PlaceCaret(line, column + Length(record.Text));
        break;
    case TUndoRecordKind::DeleteText:
        editor.DeleteText(line, column, Length(record.Text));
        editor.PlaceCaret(line, column);
        break;
    case TUndoRecordKind::Block:
        break;
    }
}

} // namespace corvid
