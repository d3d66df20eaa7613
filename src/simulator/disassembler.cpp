#include "simulator/disassembler.h"

#include "simulator/opcode_table.h"

#include <cstdio>
#include <string_view>

namespace corvid {

namespace {

std::string Hex(unsigned value, int digits) {
    char text[8];
    std::snprintf(text, sizeof text, "$%0*X", digits, value);
    return text;
}

// An extended operand below $100 needs ">" where the assembler would otherwise choose direct
// addressing, that is for the mnemonics that have a direct form.
bool HasDirectForm(std::string_view mnemonic) {
    for (int page = 0; page < OpcodePageCount; ++page)
        for (int opcode = 0; opcode < 256; ++opcode) {
            const OpcodeInfo& info = LookupOpcode(static_cast<OpcodePage>(page), opcode);
            if (info.IsLegal() && info.Mode == AddressingMode::Direct && mnemonic == info.Mnemonic)
                return true;
        }
    return false;
}

DisassembledInstruction Illegal(uint8_t firstByte) {
    return {"FCB " + Hex(firstByte, 2), 1, false};
}

std::string BranchTarget(uint16_t nextAddress, uint8_t offset) {
    return Hex(static_cast<uint16_t>(nextAddress + static_cast<int8_t>(offset)), 4);
}

std::string Operand(const OpcodeInfo& info, std::span<const uint8_t> operand, uint16_t next) {
    switch (info.Mode) {
    case AddressingMode::Inherent:
        return {};
    case AddressingMode::Immediate8:
        return "#" + Hex(operand[0], 2);
    case AddressingMode::Immediate16:
        return "#" + Hex(operand[0] << 8 | operand[1], 4);
    case AddressingMode::Direct:
        return Hex(operand[0], 2);
    case AddressingMode::Extended: {
        const unsigned address = operand[0] << 8 | operand[1];
        const bool forced = address < 0x100 && HasDirectForm(info.Mnemonic);
        return (forced ? ">" : "") + Hex(address, 4);
    }
    case AddressingMode::IndexedX:
        return Hex(operand[0], 2) + ",X";
    case AddressingMode::IndexedY:
        return Hex(operand[0], 2) + ",Y";
    case AddressingMode::Relative:
        return BranchTarget(next, operand[0]);
    case AddressingMode::BitDirect:
        return Hex(operand[0], 2) + " " + Hex(operand[1], 2);
    case AddressingMode::BitIndexedX:
        return Hex(operand[0], 2) + ",X " + Hex(operand[1], 2);
    case AddressingMode::BitIndexedY:
        return Hex(operand[0], 2) + ",Y " + Hex(operand[1], 2);
    case AddressingMode::BranchBitDirect:
        return Hex(operand[0], 2) + " " + Hex(operand[1], 2) + " " + BranchTarget(next, operand[2]);
    case AddressingMode::BranchBitIndexedX:
        return Hex(operand[0], 2) + ",X " + Hex(operand[1], 2) + " " +
               BranchTarget(next, operand[2]);
    case AddressingMode::BranchBitIndexedY:
        return Hex(operand[0], 2) + ",Y " + Hex(operand[1], 2) + " " +
               BranchTarget(next, operand[2]);
    }
    return {};
}

} // namespace

DisassembledInstruction Disassemble(std::span<const uint8_t> bytes, uint16_t address) {
    if (bytes.empty())
        return {"", 0, false};
    const OpcodePage page = PageOfPrebyte(bytes[0]);
    const size_t opcodeIndex = page == OpcodePage::Page0 ? 0 : 1;
    if (opcodeIndex >= bytes.size())
        return Illegal(bytes[0]);
    const OpcodeInfo& info = LookupOpcode(page, bytes[opcodeIndex]);
    if (!info.IsLegal() || info.Length > bytes.size())
        return Illegal(bytes[0]);
    const auto operand = bytes.subspan(opcodeIndex + 1, info.Length - opcodeIndex - 1);
    const uint16_t next = static_cast<uint16_t>(address + info.Length);
    std::string text = info.Mnemonic;
    const std::string operandText = Operand(info, operand, next);
    if (!operandText.empty())
        text += " " + operandText;
    return {text, info.Length, true};
}

} // namespace corvid
