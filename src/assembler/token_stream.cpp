#include "assembler/token_stream.h"

#include "editor/text_editor_file.h"
#include "foundation/errors.h"
#include "parsing/asm_tokens.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>

namespace corvid {

namespace {

// The kind and Id of a token in one byte: the code of its kind plus its Id. Reserved words keep
// their Id (1 to 156), symbols start at 160, the other kinds (whose Id is 0) at 200 and on.
constexpr int OtherKinds[] = {tkIdentifier, tkLabel, tkNumber, tkString, tkBadInput};

constexpr std::array<uint8_t, 256> KindCodes = [] {
    std::array<uint8_t, 256> codes{};
    codes[tkSymbol] = 160;
    for (size_t index = 0; index < std::size(OtherKinds); ++index)
        codes[static_cast<uint8_t>(OtherKinds[index])] = static_cast<uint8_t>(200 + index);
    return codes;
}();
static_assert(AsmRegisterY < KindCodes[tkSymbol] &&
              KindCodes[tkSymbol] + AsmSymbolLess < KindCodes[tkIdentifier]);

constexpr uint8_t CodeOf(int kind, int id) {
    return static_cast<uint8_t>(KindCodes[static_cast<uint8_t>(kind)] + id);
}

struct TTokenCodes {
    std::array<int16_t, 256> Kind{};
    std::array<int16_t, 256> Id{};
};

constexpr TTokenCodes TokenCodes = [] {
    TTokenCodes codes;
    const auto add = [&codes](int kind, int id) {
        codes.Kind[CodeOf(kind, id)] = static_cast<int16_t>(kind);
        codes.Id[CodeOf(kind, id)] = static_cast<int16_t>(id);
    };
    for (int id = AsmDirectiveOrg; id <= AsmRegisterY; ++id)
        add(tkReserved, id);
    for (int id = AsmSymbolColon; id <= AsmSymbolLess; ++id)
        add(tkSymbol, id);
    for (const int kind : OtherKinds)
        add(kind, 0);
    return codes;
}();

} // namespace

TAsmTokenStream::TAsmTokenStream(const TTextEditorFile& source, bool compatibilityMode)
    : Source(source),
      Scanner(
          source.LineCount(), [&source](int index) { return source.LineText(index); },
          compatibilityMode) {}

void TAsmTokenStream::Restart() {
    if (Mode == TMode::Keeping && AtEnd)
        Mode = TMode::Replaying; // everything is kept
    if (Mode == TMode::Replaying) {
        NextKept = 0;
        ReplayLine = -1;
        LeftOnLine = 0;
    } else {
        // A read that stopped before the end is started over.
        Scanner.Restart();
        KeptCount = 0;
        TokensOnLine.clear();
    }
    Produced = 0;
    AtEnd = false;
}

const TAsmToken* TAsmTokenStream::ReadUpTo(int index) {
    while (index >= Produced && !AtEnd) {
        const size_t read = Read(std::span(&Slot(Produced), Batch));
        Produced += static_cast<int>(read);
        AtEnd = read < static_cast<size_t>(Batch);
    }
    if (index >= Produced)
        return nullptr;
    CORVID_ASSERT(index >= 0 && index >= Produced - RingSize,
                  "TAsmTokenStream.At Position Out Of Reach");
    return &Slot(index);
}

size_t TAsmTokenStream::Read(std::span<TAsmToken> tokens) {
    if (Mode == TMode::Replaying)
        return Replay(tokens);
    const size_t scanned = Scanner.Next(tokens);
    if (Mode == TMode::Keeping && !Keep(tokens.first(scanned)))
        StopKeeping();
    return scanned;
}

bool TAsmTokenStream::Keep(std::span<const TAsmToken> tokens) {
    constexpr int LastColumn = std::numeric_limits<uint16_t>::max(); // 0-based
    constexpr int MostLength = std::numeric_limits<uint8_t>::max();
    constexpr int MostPerLine = std::numeric_limits<uint16_t>::max();
    if (TokensOnLine.empty())
        TokensOnLine.assign(static_cast<size_t>(Source.LineCount()), 0);
    if (KeptCount % KeptBlock == 0 && KeptCount / KeptBlock == KeptBlocks.size())
        KeptBlocks.push_back(std::make_unique_for_overwrite<TKeptToken[]>(KeptBlock));
    TKeptToken* kept = &KeptBlocks[KeptCount / KeptBlock][KeptCount % KeptBlock];
    uint16_t* tokensOnLine = TokensOnLine.data();
    for (const TAsmToken& token : tokens) {
        uint16_t& onLine = tokensOnLine[token.Line - 1];
        if (token.Column - 1 > LastColumn || token.Length > MostLength || onLine == MostPerLine)
            return false;
        ++onLine;
        *kept++ = TKeptToken{static_cast<uint16_t>(token.Column - 1),
                             static_cast<uint8_t>(token.Length), CodeOf(token.Kind, token.Id)};
    }
    KeptCount += tokens.size();
    return true;
}

void TAsmTokenStream::StopKeeping() {
    Mode = TMode::Scanning;
    KeptBlocks.clear();
    KeptCount = 0;
    TokensOnLine.clear();
    TokensOnLine.shrink_to_fit();
}

size_t TAsmTokenStream::Replay(std::span<TAsmToken> tokens) {
    const size_t count = std::min(tokens.size(), KeptCount - NextKept);
    if (count == 0)
        return 0;
    const TKeptToken* kept = &KeptBlocks[NextKept / KeptBlock][NextKept % KeptBlock];
    // The replay position lives in locals for the loop: the tokens written could otherwise be
    // taken to overlap it.
    int line = ReplayLine;
    int leftOnLine = LeftOnLine;
    const char* lineText = ReplayLineText;
    for (TAsmToken& token : tokens.first(count)) {
        if (leftOnLine == 0) {
            do
                ++line;
            while (TokensOnLine[static_cast<size_t>(line)] == 0);
            leftOnLine = TokensOnLine[static_cast<size_t>(line)];
            lineText = Source.LineText(line).data();
        }
        --leftOnLine;
        token = TAsmToken{TokenCodes.Id[kept->Code],
                          TokenCodes.Kind[kept->Code],
                          line + 1,
                          kept->Column + 1,
                          kept->Length,
                          lineText + kept->Column};
        ++kept;
    }
    ReplayLine = line;
    LeftOnLine = leftOnLine;
    ReplayLineText = lineText;
    NextKept += count;
    return count;
}

bool TAsmTokenStream::Empty() {
    return At(0) == nullptr;
}

} // namespace corvid
