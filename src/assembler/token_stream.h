#pragma once

#include "parsing/asm_scanner.h"
#include "parsing/parser.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace corvid {

class TTextEditorFile;

// One token of an assembly. Its text is not copied: it is a view of the document line (every
// assembly token is written in the source exactly as its text reads).
struct TAsmToken {
    int16_t Id = 0;
    int16_t Kind = tkEnd;
    int32_t Line = 0;
    int32_t Column = 0;
    int32_t Length = 0;
};

// The tokens of a document, read as the passes go: each pass scans the document again, and
// only the last tokens read stay at hand for the look-back of the statement parser. So a
// source of any size costs no token memory, and both passes see the same tokens at the same
// positions. The document must stay unchanged while the stream is used.
class TAsmTokenStream {
public:
    TAsmTokenStream(const TTextEditorFile& source, bool compatibilityMode);

    // Back to the first token, for the next pass.
    void Restart();
    // The token at a position, scanning on as needed; none past the last token. Positions more
    // than LookBack behind the furthest token read are gone.
    const TAsmToken* At(int index) {
        if (index < Produced && index >= Produced - LookBack && index >= 0)
            return &Window[static_cast<size_t>(index) % LookBack];
        return ScanUpTo(index);
    }
    // True when the document holds no token at all.
    bool Empty();
    // Once At has reached past the end: the number of tokens, and the last of them.
    bool Finished() const { return AtEnd; }
    int Count() const { return Produced; }
    const TAsmToken& Last() const { return Window[(Produced - 1) % LookBack]; }

    std::string_view Text(const TAsmToken& token) const;

    static constexpr int LookBack = 64;

private:
    const TTextEditorFile& Source;
    TAsmScanner Scanner;
    std::array<TAsmToken, LookBack> Window;
    int Produced = 0;
    bool AtEnd = false;

    bool ScanOne();
    const TAsmToken* ScanUpTo(int index);
};

} // namespace corvid
