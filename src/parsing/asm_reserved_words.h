#pragma once

// The reserved words of the assembly language and the index that finds them, shared by the
// recognisers and the scanner of this library.

#include "parsing/asm_tokens.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace corvid {

struct TAsmWordEntry {
    std::string_view Name;
    int Id;
};

inline constexpr TAsmWordEntry AsmNonMnemonicWords[] = {
    {"ORG", AsmDirectiveOrg}, {"EQU", AsmDirectiveEqu}, {"FCB", AsmDirectiveFcb},
    {"FCC", AsmDirectiveFcc}, {"FDB", AsmDirectiveFdb}, {"RMB", AsmDirectiveRmb},
    {"END", AsmDirectiveEnd}, {"X", AsmRegisterX},      {"Y", AsmRegisterY},
};

// In Id order: the Id of each is its position counted from AsmFirstMnemonic, skipping 134.
inline constexpr std::string_view AsmMnemonics[] = {
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

inline constexpr int AsmUnusedMnemonicId = 134;

constexpr int AsmMnemonicId(int index) {
    const int id = AsmFirstMnemonic + index;
    return id < AsmUnusedMnemonicId ? id : id + 1;
}

static_assert(AsmMnemonicId(static_cast<int>(std::size(AsmMnemonics)) - 1) == AsmLastMnemonic);

template <typename Visit>
constexpr void ForEachAsmReservedWord(Visit visit) {
    for (const TAsmWordEntry& word : AsmNonMnemonicWords)
        visit(word.Name, word.Id);
    for (int index = 0; index < static_cast<int>(std::size(AsmMnemonics)); ++index)
        visit(AsmMnemonics[index], AsmMnemonicId(index));
}

// Every reserved word in an open-addressing table keyed by its upper-cased letters packed into
// an integer, so that a name is looked up with a hash and one or two integer comparisons. The
// table is built by the compiler: scanning a name costs no start-up check.
class TAsmReservedWordIndex {
public:
    constexpr TAsmReservedWordIndex() {
        ForEachAsmReservedWord([this](std::string_view name, int id) {
            size_t slot = SlotOf(Key(name));
            while (Slots[slot].Id != 0)
                slot = (slot + 1) % SlotCount;
            Slots[slot] = {Key(name), id};
        });
    }

    constexpr int Find(std::string_view name) const { return FindKey(Key(name)); }
    constexpr int FindKey(uint64_t key) const {
        if (key == NoKey)
            return 0;
        for (size_t slot = SlotOf(key); Slots[slot].Id != 0; slot = (slot + 1) % SlotCount)
            if (Slots[slot].Key == key)
                return Slots[slot].Id;
        return 0;
    }

    // Every reserved word is one to five letters, so a longer name needs no look-up.
    static constexpr size_t LongestWord = 5; // BRCLR, BRSET
    static constexpr uint64_t NoKey = 0;

    // A key holds the length, then the bytes without their 0x20 bit, which upper-cases the
    // letters. Only letters give bytes from 'A' to 'Z' this way, so the key of a name with any
    // other character matches no reserved word, and no test per character is needed. A scanner
    // adds the bytes of a name as it reads them.
    static constexpr uint64_t AddByte(uint64_t bytes, char c) {
        return bytes << 8 | (static_cast<unsigned char>(c) & 0xDFu);
    }
    // NoKey for a name too long to be reserved (whose first bytes are gone from the integer).
    static constexpr uint64_t KeyOf(uint64_t bytes, size_t length) {
        if (length == 0 || length > LongestWord)
            return NoKey;
        return static_cast<uint64_t>(length) << (8 * length) | bytes;
    }
    static constexpr uint64_t Key(std::string_view name) {
        uint64_t bytes = 0;
        for (const char c : name)
            bytes = AddByte(bytes, c);
        return KeyOf(bytes, name.size());
    }

private:
    static constexpr size_t SlotCount = 512;
    struct Slot {
        uint64_t Key = 0;
        int Id = 0;
    };
    std::array<Slot, SlotCount> Slots{};

    static constexpr size_t SlotOf(uint64_t key) {
        return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 55); // top 9 bits
    }
};

inline constexpr TAsmReservedWordIndex AsmReservedWords;

// The keys rely on it: every reserved word is one to LongestWord upper-case letters.
constexpr bool EveryAsmReservedWordIsShortAndLetters() {
    bool holds = true;
    ForEachAsmReservedWord([&holds](std::string_view name, int) {
        holds = holds && !name.empty() && name.size() <= TAsmReservedWordIndex::LongestWord;
        for (const char c : name)
            holds = holds && c >= 'A' && c <= 'Z';
    });
    return holds;
}
static_assert(EveryAsmReservedWordIsShortAndLetters());

} // namespace corvid
