#pragma once

#include <array>
#include <cstdint>

namespace corvid {

// The 68HC11 instruction set as the CPU and the disassembler see it: one entry per opcode of
// each page (no prebyte, and the prebytes $18, $1A and $CD), with the byte length including
// the prebyte and the E-clock cycles of the reference manual.

enum class OpcodePage : uint8_t { Page0, Page18, Page1A, PageCD };

enum class AddressingMode : uint8_t {
    Inherent,
    Immediate8,
    Immediate16,
    Direct,
    Extended,
    IndexedX,
    IndexedY,
    Relative,
    BitDirect, // address, mask
    BitIndexedX,
    BitIndexedY,
    BranchBitDirect, // address, mask, relative target
    BranchBitIndexedX,
    BranchBitIndexedY,
};

struct OpcodeInfo {
    const char* Mnemonic = nullptr; // null: an illegal opcode (it traps)
    AddressingMode Mode = AddressingMode::Inherent;
    uint8_t Length = 0; // bytes, prebyte included
    uint8_t Cycles = 0;

    bool IsLegal() const { return Mnemonic != nullptr; }
};

inline constexpr int OpcodePageCount = 4;

const OpcodeInfo& LookupOpcode(OpcodePage page, uint8_t opcode);

// The cycles alone, packed for the CPU's dispatch: [page][opcode], 0 for illegal opcodes.
extern const std::array<std::array<uint8_t, 256>, OpcodePageCount> OpcodeCycles;

// The page a first byte selects, or Page0 when it is not a prebyte.
OpcodePage PageOfPrebyte(uint8_t firstByte);
bool IsPrebyte(uint8_t firstByte);
uint8_t PrebyteOfPage(OpcodePage page); // 0 for Page0

} // namespace corvid
