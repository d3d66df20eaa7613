#pragma once

#include "parsing/asm_scanner.h"
#include "parsing/parser.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace corvid {

class TTextEditorFile;

// One token of an assembly in 16 bytes. Its text is not copied: it is a view of the document
// line (every assembly token is written in the source exactly as its text reads).
struct TAsmToken {
    int16_t Id = 0;
    int16_t Kind = tkEnd;
    int32_t Line = 0;
    int32_t Column = 0;
    int32_t Length = 0;
};

// The tokens of one document, in order; filled by a scan of that document and read by both
// passes. Stored in blocks, so that a large source never holds two copies while growing.
// The document must stay unchanged while the list is used.
class TAsmTokenList {
public:
    explicit TAsmTokenList(const TTextEditorFile& source) : Source(source) {}

    void Add(const TAsmScannedToken& token);

    int Count() const { return Size; }
    bool Empty() const { return Size == 0; }
    const TAsmToken& operator[](int index) const {
        return Blocks[static_cast<size_t>(index) >> BlockBits][index & BlockMask];
    }
    const TAsmToken& Last() const { return (*this)[Size - 1]; }
    std::string_view Text(const TAsmToken& token) const;

private:
    static constexpr int BlockBits = 12;
    static constexpr int BlockMask = (1 << BlockBits) - 1;

    const TTextEditorFile& Source;
    std::vector<std::unique_ptr<TAsmToken[]>> Blocks;
    int Size = 0;
};

} // namespace corvid
