#include "simulator/disassembler.h"
#include "simulator/opcode_table.h"

#include "isa_csv.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace corvid {
namespace {

// The CSV lists aliases under their own names; the table keeps one name per opcode.
std::string Canonical(const std::string& mnemonic) {
    static const std::map<std::string, std::string> aliases = {{"BHS", "BCC"},   {"BLO", "BCS"},
                                                               {"LSL", "ASL"},   {"LSLA", "ASLA"},
                                                               {"LSLB", "ASLB"}, {"LSLD", "ASLD"}};
    const auto alias = aliases.find(mnemonic);
    return alias == aliases.end() ? mnemonic : alias->second;
}

AddressingMode ModeOf(const std::string& mode) {
    static const std::map<std::string, AddressingMode> modes = {
        {"INH", AddressingMode::Inherent},
        {"IMM8", AddressingMode::Immediate8},
        {"IMM16", AddressingMode::Immediate16},
        {"DIR", AddressingMode::Direct},
        {"EXT", AddressingMode::Extended},
        {"INDX", AddressingMode::IndexedX},
        {"INDY", AddressingMode::IndexedY},
        {"REL", AddressingMode::Relative},
        {"BIT_DIR", AddressingMode::BitDirect},
        {"BIT_INDX", AddressingMode::BitIndexedX},
        {"BIT_INDY", AddressingMode::BitIndexedY},
        {"BRBIT_DIR", AddressingMode::BranchBitDirect},
        {"BRBIT_INDX", AddressingMode::BranchBitIndexedX},
        {"BRBIT_INDY", AddressingMode::BranchBitIndexedY}};
    return modes.at(mode);
}

OpcodePage PageOf(const IsaRow& row) {
    return row.Opcode.size() == 2 ? PageOfPrebyte(row.Opcode[0]) : OpcodePage::Page0;
}

const OpcodeInfo& Lookup(const IsaRow& row) {
    return LookupOpcode(PageOf(row), row.Opcode.back());
}

TEST(OpcodeTable, EveryInstructionOfTheManualHasItsLengthCyclesAndMode) {
    for (const IsaRow& row : ReadIsaCsv()) {
        SCOPED_TRACE(row.Mnemonic + " " + row.Mode);
        const OpcodeInfo& info = Lookup(row);
        if (row.Mnemonic == "TEST") { // test modes only: an illegal opcode for programs
            EXPECT_FALSE(info.IsLegal());
            continue;
        }
        ASSERT_TRUE(info.IsLegal());
        EXPECT_EQ(Canonical(row.Mnemonic), info.Mnemonic);
        EXPECT_EQ(ModeOf(row.Mode), info.Mode);
        EXPECT_EQ(row.Bytes, info.Length);
        EXPECT_EQ(row.CycleCount(), info.Cycles);
        EXPECT_EQ(info.Cycles, OpcodeCycles[static_cast<int>(PageOf(row))][row.Opcode.back()]);
    }
}

TEST(OpcodeTable, HoldsNoOpcodeTheManualLacks) {
    std::set<std::pair<int, int>> listed;
    for (const IsaRow& row : ReadIsaCsv())
        if (row.Mnemonic != "TEST")
            listed.insert({static_cast<int>(PageOf(row)), row.Opcode.back()});
    for (int page = 0; page < OpcodePageCount; ++page)
        for (int opcode = 0; opcode < 256; ++opcode)
            EXPECT_EQ(LookupOpcode(static_cast<OpcodePage>(page), opcode).IsLegal(),
                      listed.count({page, opcode}) == 1)
                << "page " << page << " opcode " << opcode;
}

// The operand bytes every row is disassembled with, and what each mode must show for them
// at address $E000.
std::string ExpectedOperand(const IsaRow& row) {
    const int next = 0xE000 + row.Bytes;
    char target[8];
    const auto branch = [&](int offset) {
        std::snprintf(target, sizeof target, "$%04X",
                      (next + static_cast<int8_t>(offset)) & 0xFFFF);
        return std::string(target);
    };
    const std::map<std::string, std::string> operands = {
        {"INH", ""},
        {"IMM8", " #$12"},
        {"IMM16", " #$1234"},
        {"DIR", " $12"},
        {"EXT", " $1234"},
        {"INDX", " $12,X"},
        {"INDY", " $12,Y"},
        {"REL", " " + branch(0x12)},
        {"BIT_DIR", " $12 $34"},
        {"BIT_INDX", " $12,X $34"},
        {"BIT_INDY", " $12,Y $34"},
        {"BRBIT_DIR", " $12 $34 " + branch(0x56)},
        {"BRBIT_INDX", " $12,X $34 " + branch(0x56)},
        {"BRBIT_INDY", " $12,Y $34 " + branch(0x56)}};
    return operands.at(row.Mode);
}

TEST(Disassembler, ShowsEveryInstructionOfTheManual) {
    for (const IsaRow& row : ReadIsaCsv()) {
        if (row.Mnemonic == "TEST")
            continue;
        SCOPED_TRACE(row.Mnemonic + " " + row.Mode);
        std::vector<uint8_t> bytes = row.Opcode;
        const uint8_t operand[] = {0x12, 0x34, 0x56};
        for (size_t i = 0; bytes.size() < static_cast<size_t>(row.Bytes); ++i)
            bytes.push_back(operand[i]);
        const DisassembledInstruction result = Disassemble(bytes, 0xE000);
        EXPECT_TRUE(result.Legal);
        EXPECT_EQ(row.Bytes, result.Length);
        EXPECT_EQ(Canonical(row.Mnemonic) + ExpectedOperand(row), result.Text);
    }
}

TEST(Disassembler, WritesWhatTheAssemblerReadsBack) {
    struct Case {
        std::vector<uint8_t> Bytes;
        uint16_t Address;
        const char* Text;
        uint8_t Length;
    };
    const Case cases[] = {
        {{0xB6, 0x00, 0x10}, 0xE000, "LDAA >$0010", 3}, // extended although below $100
        {{0x7E, 0x00, 0x10}, 0xE000, "JMP $0010", 3},   // JMP has no direct form
        {{0x18, 0xFE, 0x00, 0x20}, 0xE000, "LDY >$0020", 4},
        {{0x20, 0xFE}, 0xE000, "BRA $E000", 2},
        {{0x20, 0x80}, 0x0010, "BRA $FF92", 2},
        {{0x12, 0x10, 0x01, 0xFC}, 0xE000, "BRSET $10 $01 $E000", 4},
        {{0x00}, 0xE000, "FCB $00", 1},
        {{0x18, 0x00}, 0xE000, "FCB $18", 1}, // no such instruction after the prebyte
        {{0xCC, 0x12}, 0xE000, "FCB $CC", 1}, // cut off by the end of the bytes
        {{0x1A}, 0xE000, "FCB $1A", 1},
    };
    for (const Case& c : cases) {
        const DisassembledInstruction result = Disassemble(c.Bytes, c.Address);
        EXPECT_EQ(c.Text, result.Text);
        EXPECT_EQ(c.Length, result.Length) << c.Text;
    }
}

} // namespace
} // namespace corvid
