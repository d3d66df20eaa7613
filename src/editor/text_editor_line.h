#pragma once

#include "editor/line_text.h"

#include <cstdint>
#include <string>

namespace corvid {

// Bits of TTextEditorLine::Flags.
enum TTextEditorLineFlag : uint8_t {
    lfOpensBlockComment = 0x01,  // a scan from outside a block comment ends inside one
    lfClosesBlockComment = 0x02, // a scan from inside a block comment ends outside
    lfInBlockComment = 0x04,     // the line starts inside a block comment
    lfBlockCommentMask = 0x07,
    lfInvalid = 0x08,     // must be repainted; the paint pass clears it
    lfModified = 0x10,    // changed since the last save
    lfPlaceholder = 0x20, // the single empty line of a cleared document
};

// Something a caller attaches to a line (a search result, a message); the line destroys it
// when it owns it.
class TTextEditorLineData {
public:
    virtual ~TTextEditorLineData() = default;
};

// One line of a document, without line-end characters.
class TTextEditorLine {
public:
    TTextEditorLine() = default;
    explicit TTextEditorLine(TLineText text) : Text(std::move(text)) {}
    TTextEditorLine(TTextEditorLine&& other) noexcept;
    TTextEditorLine& operator=(TTextEditorLine&& other) noexcept;
    // Inline, with nothing to do for most lines: a large document goes in one sweep.
    ~TTextEditorLine() {
        if (OwnsData)
            delete Data;
    }

    TLineText Text;
    uint8_t Flags = lfInvalid;
    bool OwnsData = false;
    TTextEditorLineData* Data = nullptr;

    bool Has(TTextEditorLineFlag flag) const { return (Flags & flag) != 0; }
    void Set(TTextEditorLineFlag flag) { Flags |= flag; }
    void Clear(TTextEditorLineFlag flag) { Flags &= static_cast<uint8_t>(~flag); }

    void AttachData(TTextEditorLineData* data, bool ownsData);

private:
    void ReleaseData() noexcept;
};

} // namespace corvid
