#include "editor/text_editor_file.h"

#include "editor/language_info.h"
#include "editor/syntax_highlighter.h"
#include "editor/text_editor.h"
#include "editor/undo_buffer.h"
#include "foundation/encrypted_stream.h"
#include "foundation/errors.h"
#include "foundation/file_stream.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
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

} // namespace

// The text of a document's lines, made from the file bytes as they arrive in pieces of any size.
// CR LF is one line break, LF CR two, a lone CR or LF one, and each becomes a single LF; a tab
// becomes a fixed count of spaces and other control bytes are dropped. Bytes 128 to 255 are
// kept so that accented text survives a load and a save. The file bytes are never held whole,
// so a large file costs the memory of its text once, not twice.
class TLoadedText {
public:
    TLoadedText(size_t tabSize, size_t expectedSize)
        : TabSize(tabSize), Capacity(expectedSize + expectedSize / 4 + SliceRoom()),
          Buffer(std::make_unique_for_overwrite<char[]>(Capacity)) {}

    void Add(std::string_view bytes) {
        for (size_t start = 0; start < bytes.size(); start += LoadSliceSize)
            AddSlice(bytes.substr(start, LoadSliceSize));
    }

    size_t LineCount() const { return Breaks + 1; }
    bool UnixLineEnds() const { return FirstLineEnd == '\n'; }
    std::string_view Text() const { return {Buffer.get(), Size}; }
    std::unique_ptr<char[]> TakeBuffer() { return std::move(Buffer); }

private:
    // Bytes are taken in slices, each with room made for its worst case beforehand.
    static constexpr size_t LoadSliceSize = 64 * 1024;

    size_t TabSize;
    // Tab expansion seldom adds a quarter; room that stays unused is never written, so its pages
    // cost no memory.
    size_t Capacity;
    std::unique_ptr<char[]> Buffer;
    size_t Size = 0;
    size_t Breaks = 0;
    char FirstLineEnd = 0;
    bool EndsWithCR = false; // the last byte added, for a CR LF pair split between pieces

    // The worst case of a slice, and a word more for PutTab and PlainBytes.
    size_t SliceRoom() const { return LoadSliceSize * std::max<size_t>(TabSize, 1) + 8; }

    // The spaces of a tab. A common tab size is written as one word of spaces, of which the
    // tab keeps TabSize: a call to fill a couple of bytes would cost more than the bytes.
    char* PutTab(char* out) const {
        if (TabSize > 8)
            return std::fill_n(out, TabSize, ' ');
        std::memcpy(out, "        ", 8);
        return out + TabSize;
    }

    void AddSlice(std::string_view bytes) {
        if (Capacity - Size < SliceRoom()) {
            Capacity = std::max(2 * Capacity, Size + SliceRoom());
            auto larger = std::make_unique_for_overwrite<char[]>(Capacity);
            std::memcpy(larger.get(), Buffer.get(), Size);
            Buffer = std::move(larger);
        }
        const char* in = bytes.data();
        const char* const end = in + bytes.size();
        char* out = Buffer.get() + Size;
        while (in < end) {
            const size_t plain = PlainBytes(in, end, out);
            in += plain;
            out += plain;
            if (in == end)
                break;
            const char c = *in;
            if (c == '\t') {
                out = PutTab(out);
            } else if (c == '\r' || c == '\n') {
                const bool afterCR = in > bytes.data() ? in[-1] == '\r' : EndsWithCR;
                if (c == '\r' || !afterCR) { // not the second half of CR LF
                    if (FirstLineEnd == 0)
                        FirstLineEnd = c;
                    *out++ = '\n';
                    ++Breaks;
                }
            }
            ++in; // other control bytes are dropped
        }
        Size = static_cast<size_t>(out - Buffer.get());
        if (!bytes.empty())
            EndsWithCR = bytes.back() == '\r';
    }

    // Copies the bytes from 32 up that start at in, and returns their count: eight at a time
    // where eight are left (the room allows a word to be written beyond them), then one by one.
    static size_t PlainBytes(const char* in, const char* end, char* out) {
        const char* const start = in;
        while (end - in >= 8) {
            uint64_t word;
            std::memcpy(&word, in, 8);
            std::memcpy(out, &word, 8);
            if (const uint64_t marks = BytesBelow32(word))
                return static_cast<size_t>(in - start) + FirstMarkedByte(marks);
            in += 8;
            out += 8;
        }
        while (in < end && static_cast<unsigned char>(*in) >= 32)
            *out++ = *in++;
        return static_cast<size_t>(in - start);
    }

    // The high bit of every byte of the word that is below 32, its top three bits clear. Exact:
    // no carry runs from one byte into the next.
    static uint64_t BytesBelow32(uint64_t word) {
        constexpr uint64_t Low7 = 0x7F7F7F7F7F7F7F7Full;
        const uint64_t top3 = word & 0xE0E0E0E0E0E0E0E0ull;
        return ~(((top3 & Low7) + Low7) | top3 | Low7);
    }

    // The index, in memory order, of the first byte whose high bit is set.
    static size_t FirstMarkedByte(uint64_t marks) {
        if constexpr (std::endian::native == std::endian::little)
            return static_cast<size_t>(std::countr_zero(marks)) / 8;
        else
            return static_cast<size_t>(std::countl_zero(marks)) / 8;
    }
};

namespace {

// Hands every line of a loaded text to addLine, as a view of the text.
template <typename AddLine>
void SplitLines(std::string_view text, bool removeTrailingBlanks, AddLine addLine) {
    const char* position = text.data();
    const char* const end = position + text.size();
    for (;;) {
        const auto* found = static_cast<const char*>(
            std::memchr(position, '\n', static_cast<size_t>(end - position)));
        const char* lineEnd = found ? found : end;
        const std::string_view line(position, static_cast<size_t>(lineEnd - position));
        addLine(TLineText::Borrowed(line.substr(0, TrimmedLength(line, removeTrailingBlanks))));
        if (!found)
            return;
        position = found + 1;
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

void TTextEditorFile::LoadFromText(std::string_view bytes) {
    TLoadedText text(static_cast<size_t>(std::max(LoadTabSize, 0)), bytes.size());
    text.Add(bytes);
    AssignLoaded(text);
}

void TTextEditorFile::LoadFromStream(TKStream& stream) {
    const int64_t expected = stream.Size() - stream.Position();
    TLoadedText text(static_cast<size_t>(std::max(LoadTabSize, 0)),
                     expected > 0 ? static_cast<size_t>(expected) : 0);
    char block[64 * 1024];
    while (const size_t got = stream.Read(block, sizeof block))
        text.Add(std::string_view(block, got));
    AssignLoaded(text);
}

void TTextEditorFile::AssignLoaded(TLoadedText& text) {
    if (Undo)
        Undo->Clear();
    Lines.Cleared();
    UnixLineEnds = text.UnixLineEnds();
    const std::string_view loaded = text.Text();
    LoadBuffer = text.TakeBuffer();
    std::vector<TTextEditorLine> lines;
    lines.reserve(text.LineCount());
    SplitLines(loaded, LoadRemovesTrailingBlanks,
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
