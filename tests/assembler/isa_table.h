#pragma once

// The 68HC11 instruction set as an independent table (hc11_isa.csv beside the tests): one row
// per mnemonic and addressing mode, with the opcode bytes and the instruction length. The
// differential programs are generated from it, so that every row is provably exercised.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvid::testing {

enum class TIsaMode {
    Inherent,     // INH
    Immediate8,   // IMM8
    Immediate16,  // IMM16
    Direct,       // DIR
    Extended,     // EXT
    IndexedX,     // INDX
    IndexedY,     // INDY
    Relative,     // REL
    BitDirect,    // BIT_DIR: address, mask
    BitIndexedX,  // BIT_INDX
    BitIndexedY,  // BIT_INDY
    BranchDirect, // BRBIT_DIR: address, mask, target
    BranchIndexedX,
    BranchIndexedY,
};

struct TIsaRow {
    std::string Mnemonic;
    TIsaMode Mode;
    std::string ModeName; // as the table writes it
    std::vector<uint8_t> Opcode;
    int Bytes = 0; // the whole instruction

    // "LDAA IMM8": the key under which a generator reports a row as covered.
    std::string Key() const { return Mnemonic + " " + ModeName; }
};

struct TIsaTable {
    std::vector<TIsaRow> Rows;

    // The row of a mnemonic in a mode; nullptr when the instruction lacks that mode.
    const TIsaRow* Find(std::string_view mnemonic, TIsaMode mode) const;
};

// Parses the CSV text (header line, then mnemonic,mode,opcode,bytes,...; quoted fields may
// hold commas). Throws std::runtime_error naming the line of a malformed row.
TIsaTable ParseIsaTable(std::string_view csv);
TIsaTable ReadIsaTable(const std::string& fileName);

} // namespace corvid::testing
