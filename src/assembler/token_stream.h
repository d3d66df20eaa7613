#pragma once

#include "parsing/asm_scanner.h"
#include "parsing/parser.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace corvid {

class TTextEditorFile;

// One token of an assembly. Its text is not copied: it is a view of the document line (every
// assembly token is written in the source exactly as its text reads).
using TAsmToken = TAsmScannedToken;

// The tokens of a document, read as the passes go, and read again from the first token for
// every pass; only the last tokens read stay at hand for the look-back of the statement parser.
// The first read scans the document and keeps each token in four bytes; once it has reached the
// end, every later read replays what it kept instead of scanning again, which costs a fraction
// of a scan. A document with a token that does not fit that form (longer than 255 characters,
// starting past column 65536, or one of more than 65535 on a line) is simply scanned again.
// Every read sees the same tokens at the same positions. The document must stay unchanged
// while the stream is used.
class TAsmTokenStream {
public:
    TAsmTokenStream(const TTextEditorFile& source, bool compatibilityMode);

    // Back to the first token, for the next pass.
    void Restart();
    // The token at a position, reading on as needed; none past the last token. Positions more
    // than LookBack behind the furthest token read are gone.
    const TAsmToken* At(int index) {
        if (index < Produced && index >= Produced - RingSize && index >= 0)
            return &Slot(index);
        return ReadUpTo(index);
    }
    // True when the document holds no token at all.
    bool Empty();
    // Once At has reached past the end: the number of tokens, and the last of them.
    bool Finished() const { return AtEnd; }
    int Count() const { return Produced; }
    const TAsmToken& Last() const { return Window[static_cast<unsigned>(Produced - 1) % RingSize]; }

    static constexpr int LookBack = 64;

private:
    // Tokens are read a batch at a time into a ring that keeps LookBack tokens behind the batch
    // being read.
    static constexpr int Batch = 64;
    static constexpr int RingSize = LookBack + Batch;

    // A token as the first read keeps it; its line is known from the count of tokens per line.
    struct TKeptToken {
        uint16_t Column; // 0-based
        uint8_t Length;
        uint8_t Code; // the kind and Id together
    };
    enum class TMode { Keeping, Replaying, Scanning };

    const TTextEditorFile& Source;
    TAsmScanner Scanner;
    std::array<TAsmToken, RingSize> Window;
    int Produced = 0; // a multiple of Batch until the end of the input
    bool AtEnd = false;

    TMode Mode = TMode::Keeping;
    // Kept tokens, in blocks of a whole number of batches, so that keeping never copies what is
    // kept already and a batch never straddles two blocks.
    static constexpr size_t KeptBlock = 256 * Batch;
    std::vector<std::unique_ptr<TKeptToken[]>> KeptBlocks;
    size_t KeptCount = 0;
    std::vector<uint16_t> TokensOnLine; // per document line
    // The replay position.
    size_t NextKept = 0;
    int ReplayLine = -1;
    int LeftOnLine = 0;
    const char* ReplayLineText = nullptr;

    TAsmToken& Slot(int index) { return Window[static_cast<unsigned>(index) % RingSize]; }
    const TAsmToken* ReadUpTo(int index);
    size_t Read(std::span<TAsmToken> tokens);
    // False when a token does not fit the kept form; nothing is kept then.
    bool Keep(std::span<const TAsmToken> tokens);
    size_t Replay(std::span<TAsmToken> tokens);
    void StopKeeping();
};

} // namespace corvid
