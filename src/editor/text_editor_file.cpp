#include "editor/text_editor_file.h"

#include "editor/language_info.h"
#include "editor/syntax_highlighter.h"
#include "editor/text_editor.h"
#include "editor/undo_buffer.h"
#include "foundation/encrypted_stream.h"
#include "foundation/errors.h"
#include "foundation/file_stream.h"

#include <algorithm>
#include <memory>

namespace corvid {

namespace {

constexpr int DocumentBufferSize = 2048;
constexpr int EncryptionCheckBufferSize = 10;
constexpr std::string_view EncryptedMark = "1.crypt00";

// Lines are collected in chunks of this many characters; only the last, unfinished chunk of a
// line loses its trailing blanks, so that stored files keep the exact lines they always had.
constexpr size_t LoadChunkSize = 512;

size_t LastChunkStart(size_t length) {
    return length - length % LoadChunkSize;
}

size_t TrimmedLength(std::string_view line, bool removeTrailingBlanks) {
    size_t length = line.size();
    if (removeTrailingBlanks) {
        const size_t chunkStart = LastChunkStart(length);
        while (length > chunkStart && line[length - 1] == ' ')
            --length;
    }
    return length;
}

// The text of a line whose raw bytes hold tabs or control bytes: a tab becomes a fixed count
// of spaces, other control bytes are dropped.
std::string TransformedLine(std::string_view raw, size_t tabSize) {
    std::string line;
    line.reserve(raw.size());
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 9)
            line.append(tabSize, ' ');
        else if (byte >= 32)
            line.push_back(c);
    }
    return line;
}

// Splits file bytes into lines the way a document loads: CR LF is one break, LF CR two, a lone
// CR or LF one. Bytes 128 to 255 are kept so that accented text survives a load and a save.
// Lines without tabs or control bytes borrow their text from the bytes.
template <typename AddLine>
void SplitLines(std::string_view bytes, size_t tabSize, bool removeTrailingBlanks,
                AddLine addLine) {
    size_t lineStart = 0;
    bool needsTransform = false;
    const auto finishLine = [&](size_t lineEnd) {
        const std::string_view raw = bytes.substr(lineStart, lineEnd - lineStart);
        if (!needsTransform) {
            addLine(TLineText::Borrowed(raw.substr(0, TrimmedLength(raw, removeTrailingBlanks))));
        } else {
            std::string line = TransformedLine(raw, tabSize);
            line.resize(TrimmedLength(line, removeTrailingBlanks));
            addLine(TLineText(line));
        }
        needsTransform = false;
    };
    for (size_t index = 0; index < bytes.size(); ++index) {
        const auto byte = static_cast<unsigned char>(bytes[index]);
        if (byte >= 32)
            continue;
        if (byte == 13 || byte == 10) {
            finishLine(index);
            if (byte == 13 && index + 1 < bytes.size() && bytes[index + 1] == 10)
                ++index;
            lineStart = index + 1;
        } else {
            needsTransform = true;
        }
    }
    finishLine(bytes.size());
}

// The lines SplitLines makes of the bytes, counted first so that the line store is sized once.
size_t CountLines(std::string_view bytes) {
    size_t lines = 1;
    const char* data = bytes.data();
    const size_t size = bytes.size();
    for (size_t index = 0; index < size; ++index) {
        const char c = data[index];
        if (c == '\r') {
            ++lines;
            if (index + 1 < size && data[index + 1] == '\n')
                ++index;
        } else if (c == '\n') {
            ++lines;
        }
    }
    return lines;
}

bool FirstLineEndIsLF(std::string_view bytes) {
    const size_t end = bytes.find_first_of("\r\n");
    return end != std::string_view::npos && bytes[end] == '\n';
}

std::string ReadAll(TKStream& stream) {
    std::string bytes;
    const int64_t remaining = stream.Size() - stream.Position();
    if (remaining > 0)
        bytes.reserve(static_cast<size_t>(remaining));
    char block[64 * 1024];
    for (;;) {
        const size_t got = stream.Read(block, sizeof block);
        if (got == 0)
            return bytes;
        bytes.append(block, got);
    }
}

} // namespace

TTextEditorLineList::TTextEditorLineList(TTextEditorFile& owner) : Owner(owner) {}

TTextEditorLine& TTextEditorLineList::Get(int index) {
    CORVID_ASSERT(index >= 0 && index < Count(),
                  std::string(ClassName()) + ".Get Index Out Of Bounds");
    return Lines[static_cast<size_t>(index)];
}

const TTextEditorLine& TTextEditorLineList::Get(int index) const {
    CORVID_ASSERT(index >= 0 && index < Count(),
                  std::string(ClassName()) + ".Get Index Out Of Bounds");
    return Lines[static_cast<size_t>(index)];
}

bool TTextEditorLineList::HasOnlyPlaceholder() const {
    return Lines.size() == 1 && Lines[0].Has(lfPlaceholder);
}

TTextEditorLine& TTextEditorLineList::AddLine(std::string_view text) {
    return InsertLine(Count(), text, false, nullptr);
}

TTextEditorLine& TTextEditorLineList::AddLine(std::string_view text, TTextEditorLineData* data,
                                              bool ownsData) {
    return InsertLine(Count(), text, ownsData, data);
}

TTextEditorLine& TTextEditorLineList::InsertLine(int index, std::string_view text, bool ownsData,
                                                 TTextEditorLineData* data) {
    int inserted = 0;
    if (HasOnlyPlaceholder()) {
        TTextEditorLine& line = Lines[0];
        line.Text.Assign(text);
        line.AttachData(data, ownsData);
        line.Flags = lfInvalid;
    } else {
        CORVID_ASSERT(index >= 0, std::string(ClassName()) + ".InsertLine Index Out Of Bounds");
        inserted = std::min(index, Count());
        InsertRaw(inserted, TLineText(text)).AttachData(data, ownsData);
    }
    if (Owner.Editor)
        Owner.Editor->LinesInserted(inserted);
    return Get(inserted);
}

TTextEditorLine& TTextEditorLineList::InsertRaw(int index, TLineText text) {
    CORVID_ASSERT(index >= 0 && index <= Count(),
                  std::string(ClassName()) + ".InsertLine Index Out Of Bounds");
    return Lines.Insert(static_cast<size_t>(index), TTextEditorLine(std::move(text)));
}

void TTextEditorLineList::Delete(int index) {
    DeleteRange(index, 1);
}

void TTextEditorLineList::DeleteRange(int index, int count) {
    if (count <= 0)
        return;
    Get(index);
    Get(index + count - 1);
    Lines.Erase(static_cast<size_t>(index), static_cast<size_t>(count));
    if (Lines.empty())
        Cleared();
}

void TTextEditorLineList::Cleared() {
    Lines.Clear();
    TTextEditorLine& placeholder = Lines.PushBack(TTextEditorLine());
    placeholder.Flags = lfInvalid | lfPlaceholder;
}

void TTextEditorLineList::Clear() {
    Cleared();
    if (Owner.Editor)
        Owner.Editor->LinesCleared();
}

TTextEditorFile::TTextEditorFile(TUndoMode undo)
    : Lines(*this), SelectionBookmark(new TTextEditorSelectionBookmark) {
    Lines.Clear();
    Bookmarks.Add(SelectionBookmark);
    if (undo == TUndoMode::WithUndo)
        Undo = std::make_unique<TTextEditorUndoBuffer>(*this);
}

TTextEditorFile::~TTextEditorFile() {
    if (Editor)
        Editor->FileDestroyed(*this);
}

const TTextEditorMultiFileInfo& TTextEditorFile::ActiveLanguage() const {
    static const TTextEditorMultiFileInfo builtIn;
    if (Language)
        return *Language;
    return Editor ? Editor->OwnLanguage() : builtIn;
}

int TTextEditorFile::ClampLine(int line) const {
    return std::clamp(line, 0, LineCount() - 1);
}

void TTextEditorFile::SetTopLine(int line) {
    TopLineValue = ClampLine(line);
}
void TTextEditorFile::SetCaretLine(int line) {
    CaretLineValue = ClampLine(line);
}
void TTextEditorFile::SetLeftColumn(int column) {
    LeftColumnValue = std::max(column, 0);
}
void TTextEditorFile::SetCaretColumn(int column) {
    CaretColumnValue = std::max(column, 0);
}

void TTextEditorFile::LoadFromText(std::string bytes) {
    auto buffer = std::make_unique<const std::string>(std::move(bytes));
    if (Undo)
        Undo->Clear();
    Lines.Cleared();
    LoadBuffer = std::move(buffer);
    UnixLineEnds = FirstLineEndIsLF(*LoadBuffer);
    std::vector<TTextEditorLine> lines;
    lines.reserve(CountLines(*LoadBuffer));
    SplitLines(*LoadBuffer, static_cast<size_t>(std::max(LoadTabSize, 0)),
               LoadRemovesTrailingBlanks,
               [&](TLineText line) { lines.emplace_back(std::move(line)); });
    Lines.AssignLoaded(std::move(lines));
    SetCaretLine(CaretLineValue);
    SetTopLine(TopLineValue);
    SelectionBookmark->SetPosition(-1, -1);
    SelectionBookmark->SetEndPosition(-1, -1);
    Bookmarks.ClampToLines(LineCount());
    if (Highlighter)
        Highlighter->RescanAll(*this);
    if (Editor)
        Editor->FileLoaded();
}

void TTextEditorFile::LoadFromStream(TKStream& stream) {
    LoadFromText(ReadAll(stream));
}

std::string TTextEditorFile::Text() const {
    const std::string_view lineEnd = UnixLineEnds ? "\n" : "\r\n";
    size_t size = 0;
    for (int index = 0; index < LineCount(); ++index)
        size += LineText(index).size() + lineEnd.size();
    std::string text;
    text.reserve(size);
    for (int index = 0; index < LineCount(); ++index) {
        if (index > 0)
            text += lineEnd;
        text += LineText(index);
    }
    return text;
}

void TTextEditorFile::WriteTextTo(TKStream& stream) const {
    const std::string text = Text();
    if (stream.Write(text.data(), text.size()) != text.size())
        throw EInOutError("Disk Full", DiskFullErrorCode);
}

void TTextEditorFile::MarkLinesSaved() {
    for (int index = 0; index < LineCount(); ++index) {
        TTextEditorLine& line = Lines.Get(index);
        line.Clear(lfModified);
        line.Set(lfInvalid);
    }
    if (Editor)
        Editor->InvalidateAll();
}

void TTextEditorFile::SaveToStream(TKStream& stream) {
    WriteTextTo(stream);
    MarkLinesSaved();
}

void TTextEditorFile::LoadFromFile(const std::string& fileName) {
    TBufFileStream file(fileName, DocumentBufferSize, FileMode::OpenRead);
    if (Password.empty()) {
        LoadFromStream(file);
        return;
    }
    TEncryptedStream decipher(file);
    decipher.InitRead(Password);
    LoadFromStream(decipher);
}

void TTextEditorFile::SaveToFile(const std::string& fileName) {
    TSafeFileWriter writer(fileName, DocumentBufferSize);
    if (Password.empty()) {
        WriteTextTo(writer.Stream());
    } else {
        TEncryptedStream encipher(writer.Stream());
        encipher.InitWrite(Password);
        WriteTextTo(encipher);
    }
    writer.Commit();
    MarkLinesSaved();
    if (Undo && Editor && !Editor->Options().UndoAfterSave)
        Undo->Clear();
}

bool TTextEditorFile::IsEncrypted() const {
    try {
        TBufFileStream file(FileName, EncryptionCheckBufferSize, FileMode::OpenRead);
        char mark[EncryptedMark.size()];
        return file.Read(mark, sizeof mark) == sizeof mark &&
               std::string_view(mark, sizeof mark) == EncryptedMark;
    } catch (const EInOutError&) {
        return false;
    }
}

} // namespace corvid
