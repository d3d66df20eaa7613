#include "parsing/asm_tokens.h"

#include "foundation/case_fold.h"
#include "parsing/scanning.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>
#include <string>

namespace corvid {

namespace {

struct TWordEntry {
    std::string_view Name;
    int Id;
};

constexpr TWordEntry NonMnemonicWords[] = {
    {"ORG", AsmDirectiveOrg}, {"EQU", AsmDirectiveEqu}, {"FCB", AsmDirectiveFcb},
    {"FCC", AsmDirectiveFcc}, {"FDB", AsmDirectiveFdb}, {"RMB", AsmDirectiveRmb},
    {"END", AsmDirectiveEnd}, {"X", AsmRegisterX},      {"Y", AsmRegisterY},
};

// In Id order: the Id of each is its position counted from AsmFirstMnemonic, skipping 134.
constexpr std::string_view Mnemonics[] = {
    "ABA",  "ABX",  "ABY",   "ADCA", "ADCB",  "ADDA", "ADDB", "ADDD", "ANDA", "ANDB", "ASL",
    "ASLA", "ASLB", "ASLD",  "ASR",  "ASRA",  "ASRB", "BCC",  "BCLR", "BCS",  "BEQ",  "BGE",
    "BGT",  "BHI",  "BHS",   "BITA", "BITB",  "BLE",  "BLO",  "BLS",  "BLT",  "BMI",  "BNE",
    "BPL",  "BRA",  "BRCLR", "BRN",  "BRSET", "BSET", "BSR",  "BVC",  "BVS",  "CBA",  "CLC",
    "CLI",  "CLR",  "CLRA",  "CLRB", "CLV",   "CMPA", "CMPB", "CMPD", "COM",  "COMA", "COMB",
    "CPD",  "CPX",  "CPY",   "DAA",  "DEC",   "DECA", "DECB", "DES",  "DEX",  "DEY",  "EORA",
    "EORB", "FDIV", "IDIV",  "INC",  "INCA",  "INCB", "INS",  "INX",  "INY",  "JMP",  "JSR",
    "LDAA", "LDAB", "LDD",   "LDS",  "LDX",   "LDY",  "LSL",  "LSLA", "LSLB", "LSLD", "LSR",
    "LSRA", "LSRB", "LSRD",  "MUL",  "NEG",   "NEGA", "NEGB", "NOP",  "ORAA", "ORAB", "PSHA",
    "PSHB", "PSHX", "PSHY",  "PULA", "PULB",  "PULX", "PULY", "ROL",  "ROLA", "ROLB", "ROR",
    "RORA", "RORB", "RTI",   "RTS",  "SBA",   "SBCA", "SBCB", "SEC",  "SEI",  "SEV",  "STAA",
    "STAB", "STD",  "STOP",  "STS",  "STX",   "STY",  "SUBA", "SUBB", "SUBD", "SWI",  "TAB",
    "TAP",  "TBA",  "TEST",  "TPA",  "TST",   "TSTA", "TSTB", "TSX",  "TSY",  "TXS",  "TYS",
    "WAI",  "XGDX", "XGDY",
};

constexpr int UnusedMnemonicId = 134;

constexpr int MnemonicId(int index) {
    const int id = AsmFirstMnemonic + index;
    return id < UnusedMnemonicId ? id : id + 1;
}

static_assert(MnemonicId(static_cast<int>(std::size(Mnemonics)) - 1) == AsmLastMnemonic);

template <typename Visit>
void ForEachReservedWord(Visit visit) {
    for (const TWordEntry& word : NonMnemonicWords)
        visit(word.Name, word.Id);
    for (int index = 0; index < static_cast<int>(std::size(Mnemonics)); ++index)
        visit(Mnemonics[index], MnemonicId(index));
}

constexpr TWordEntry Symbols[] = {
    {":", AsmSymbolColon},     {",", AsmSymbolComma},   {"#", AsmSymbolHash},
    {"*", AsmSymbolStar},      {"%", AsmSymbolPercent}, {"^", AsmSymbolCaret},
    {"&", AsmSymbolAmpersand}, {"|", AsmSymbolBar},     {"/", AsmSymbolSlash},
    {">", AsmSymbolGreater},   {"<", AsmSymbolLess},    {"+", AsmSymbolPlus},
    {"-", AsmSymbolMinus},
};

bool IsNameStart(int c) {
    return c == '.' || c == '_' || IsAsciiLetter(c);
}
bool IsNameChar(int c) {
    return IsNameStart(c) || IsDigit(c);
}

bool RejectsDecimal(int c) {
    return c == '_' || IsAsciiLetter(c);
}
bool RejectsHexadecimal(int c) {
    return c == '_' || (IsAsciiLetter(c) && !IsHexLetter(c));
}

// The current character is a digit or a prefix, which needs at least one digit after it. The
// result is the number's text, or empty when the characters are not a number.
template <typename IsNumberDigit, typename Rejects>
std::string ReadNumber(TParser& parser, IsNumberDigit isNumberDigit, Rejects rejects) {
    const bool prefixed = !IsDigit(parser.CurrentChar);
    std::string text(1, CharOf(parser.CurrentChar));
    int c = parser.NextChar();
    for (; isNumberDigit(c); c = parser.NextChar())
        text += CharOf(c);
    if ((prefixed && text.size() == 1) || rejects(c))
        return {};
    return text;
}

std::string ReadAsmNumber(TParser& parser) {
    switch (parser.CurrentChar) {
    case '$':
        return ReadNumber(parser, IsHexDigit, RejectsHexadecimal);
    case '@': // 8 and 9 are taken as well; reading the value is the evaluator's business
        return ReadNumber(parser, IsDigit, RejectsDecimal);
    default:
        if (!IsDigit(parser.CurrentChar))
            return {};
        return ReadNumber(parser, IsDigit, RejectsDecimal);
    }
}

} // namespace

// Every reserved word in an open-addressing table keyed by its upper-cased letters packed into
// an integer, so that a name is looked up with a hash and one or two integer comparisons.
class TReservedWordIndex {
public:
    TReservedWordIndex() {
        ForEachReservedWord([this](std::string_view name, int id) {
            LongestWord = std::max(LongestWord, name.size());
            size_t slot = SlotOf(Key(name));
            while (Slots[slot].Id != 0)
                slot = (slot + 1) % SlotCount;
            Slots[slot] = {Key(name), id};
        });
    }

    int Find(std::string_view name) const {
        if (name.empty() || name.size() > LongestWord)
            return 0;
        const uint64_t key = Key(name);
        for (size_t slot = SlotOf(key); Slots[slot].Id != 0; slot = (slot + 1) % SlotCount)
            if (Slots[slot].Key == key)
                return Slots[slot].Id;
        return 0;
    }

private:
    static constexpr size_t SlotCount = 512;
    struct Slot {
        uint64_t Key = 0;
        int Id = 0;
    };
    std::array<Slot, SlotCount> Slots{};
    size_t LongestWord = 0;

    static size_t SlotOf(uint64_t key) {
        return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 55); // top 9 bits
    }
    static uint64_t Key(std::string_view name) {
        uint64_t key = name.size();
        for (const char c : name)
            key = key << 8 | static_cast<unsigned char>(UpCase(c));
        return key;
    }
};

int AsmReservedWordId(std::string_view name) {
    static const TReservedWordIndex index;
    return index.Find(name);
}

int TAsmCommentParserObject::Match(TParser& parser) {
    const int c = parser.CurrentChar;
    const bool startsLine = parser.Column == 2;
    if (c == ';' || (c == '*' && startsLine))
        return RestOfLineLength(parser);
    return SlashCommentLength(parser);
}

TAsmIdentifierReservedParserObject::TAsmIdentifierReservedParserObject() {
    ForEachReservedWord([this](std::string_view name, int id) {
        Words.Add(new TParserReservedWord(std::string(name), tkReserved, id));
    });
    Words.OnCompare = [](TParserReservedWord* a, TParserReservedWord* b) {
        return CompareText(a->Name, b->Name);
    };
    Words.Sort();
}

int TAsmIdentifierReservedParserObject::Match(TParser& parser) {
    if (!IsNameStart(parser.CurrentChar))
        return 0;
    const int line = parser.Line;
    const int column = parser.Column - 1;
    std::string text;
    for (int c = parser.CurrentChar; IsNameChar(c); c = parser.NextChar())
        text += CharOf(c);
    // The same entry that a binary search of Words finds, by a faster index of the same words.
    const int id = AsmReservedWordId(text);
    const int kind = id != 0 ? tkReserved : (column == 1 ? tkLabel : tkIdentifier);
    const int length = static_cast<int>(text.size());
    AddToken(parser, kind, id, line, column, std::move(text));
    return length;
}

int TAsmNumberParserObject::Match(TParser& parser) {
    const int line = parser.Line;
    const int column = parser.Column - 1;
    std::string text = ReadAsmNumber(parser);
    if (text.empty())
        return 0;
    const int length = static_cast<int>(text.size());
    AddToken(parser, tkNumber, 0, line, column, std::move(text));
    return length;
}

TAsmSymbolParserObject::TAsmSymbolParserObject() {
    for (const TWordEntry& symbol : Symbols)
        Words.Add(new TParserReservedWord(std::string(symbol.Name), tkSymbol, symbol.Id));
}

int TAsmSymbolParserObject::Match(TParser& parser) {
    const int c = parser.CurrentChar;
    for (const TParserReservedWord* word : Words) {
        if (static_cast<unsigned char>(word->Name[0]) != c)
            continue;
        AddToken(parser, word->Kind, word->Id, parser.Line, parser.Column - 1, word->Name);
        return 1;
    }
    return 0;
}

int TAsmStringParserObject::Match(TParser& parser) {
    if (parser.CurrentChar != '\'')
        return 0;
    const int line = parser.Line;
    const int column = parser.Column;
    std::string text;
    int count = 1;
    for (int c = parser.NextChar(); c != EndOfLineChar && c != EndOfInputChar;
         c = parser.NextChar()) {
        ++count;
        if (c == '\'')
            break;
        text += CharOf(c);
    }
    AddToken(parser, tkString, 0, line, column, std::move(text));
    return count;
}

} // namespace corvid
