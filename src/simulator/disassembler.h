#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace corvid {

// One instruction as text in the syntax Corvid's assembler reads back: "LDAA $10,X",
// "BRSET $04,X $01 $E012", "LDAA >$0010" (extended addressing of a page-0 address). Branch
// targets are absolute addresses. A byte that starts no legal instruction, or an instruction
// cut off by the end of the bytes given, shows as "FCB $xx" with length 1.
struct DisassembledInstruction {
    std::string Text;
    uint8_t Length = 1;
    bool Legal = false;
};

DisassembledInstruction Disassemble(std::span<const uint8_t> bytes, uint16_t address);

} // namespace corvid
