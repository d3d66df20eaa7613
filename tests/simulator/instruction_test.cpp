#include "machine_fixture.h"

#include "isa_csv.h"
#include "simulator/opcode_table.h"

#include <optional>
#include <random>
#include <set>

namespace corvid {
namespace {

constexpr uint16_t CodeAddress = 0x2000;
constexpr uint16_t DataAddress = 0x0080; // the direct operand of the cases below
constexpr uint8_t ArithmeticFlags = Ccr::H | Ccr::N | Ccr::Z | Ccr::V | Ccr::C;

// One instruction (or a short sequence) from a known state, and what the reference manual
// says it leaves. Unset expectations are not checked.
struct InstructionCase {
    const char* Name;
    std::vector<uint8_t> Code;
    uint8_t A = 0, B = 0;
    uint16_t X = 0, Y = 0;
    uint8_t Flags = 0;   // H N Z V C before
    uint16_t Memory = 0; // the word at DataAddress
    std::optional<uint8_t> ExpectA = {}, ExpectB = {};
    std::optional<uint16_t> ExpectX = {}, ExpectY = {};
    std::optional<uint8_t> ExpectFlags = {};
    std::optional<uint16_t> ExpectMemory = {};
    std::optional<uint16_t> ExpectPC = {};
    int Cycles = 0;
    int Steps = 1;
};

template <class T>
void ExpectIfGiven(const char* what, const std::optional<T>& expected, T actual) {
    if (expected) {
        EXPECT_EQ(*expected, actual) << what;
    }
}

class InstructionCases : public MachineFixture {
protected:
    void Check(const InstructionCase& c) {
        SCOPED_TRACE(c.Name);
        Machine = std::make_unique<HC11Machine>();
        uint16_t address = CodeAddress;
        for (uint8_t byte : c.Code)
            Machine->Poke(address++, byte);
        PlaceWord(DataAddress, c.Memory);
        Machine->SetEntryAddress(CodeAddress);
        Machine->Reset();
        Cpu().A = c.A;
        Cpu().B = c.B;
        Cpu().X = c.X;
        Cpu().Y = c.Y;
        Cpu().CCR = static_cast<uint8_t>((Cpu().CCR & ~ArithmeticFlags) | c.Flags);
        uint64_t cycles = 0;
        for (int step = 0; step < c.Steps; ++step)
            cycles += StepCycles();
        EXPECT_EQ(static_cast<uint64_t>(c.Cycles), cycles);
        ExpectIfGiven("A", c.ExpectA, Cpu().A);
        ExpectIfGiven("B", c.ExpectB, Cpu().B);
        ExpectIfGiven("X", c.ExpectX, Cpu().X);
        ExpectIfGiven("Y", c.ExpectY, Cpu().Y);
        ExpectIfGiven("flags", c.ExpectFlags, static_cast<uint8_t>(Cpu().CCR & ArithmeticFlags));
        ExpectIfGiven("memory", c.ExpectMemory, Machine->PeekWord(DataAddress));
        EXPECT_EQ(c.ExpectPC.value_or(address), Cpu().PC);
    }
};

using namespace Ccr;

TEST_F(InstructionCases, GiveTheManualsResultsFlagsAndCycles) {
    const InstructionCase cases[] = {
        {.Name = "ADDA carry and half carry",
         .Code = {0x8B, 0x3A},
         .A = 0xC7,
         .ExpectA = 0x01,
         .ExpectFlags = H | C,
         .Cycles = 2},
        {.Name = "ADDA overflow",
         .Code = {0x8B, 0x40},
         .A = 0x40,
         .ExpectA = 0x80,
         .ExpectFlags = N | V,
         .Cycles = 2},
        {.Name = "ADCA carry in",
         .Code = {0x89, 0x00},
         .A = 0xFF,
         .Flags = C,
         .ExpectA = 0x00,
         .ExpectFlags = H | Z | C,
         .Cycles = 2},
        {.Name = "ADDA direct",
         .Code = {0x9B, 0x80},
         .A = 0x01,
         .Memory = 0x0200,
         .ExpectA = 0x03,
         .ExpectFlags = 0,
         .Cycles = 3},
        {.Name = "SUBA borrow",
         .Code = {0x80, 0x01},
         .A = 0x00,
         .ExpectA = 0xFF,
         .ExpectFlags = N | C,
         .Cycles = 2},
        {.Name = "SUBA overflow",
         .Code = {0x80, 0x01},
         .A = 0x80,
         .ExpectA = 0x7F,
         .ExpectFlags = V,
         .Cycles = 2},
        {.Name = "SBCA borrow in",
         .Code = {0x82, 0x00},
         .A = 0x00,
         .Flags = C,
         .ExpectA = 0xFF,
         .ExpectFlags = N | C,
         .Cycles = 2},
        {.Name = "CMPA equal leaves A",
         .Code = {0x81, 0x10},
         .A = 0x10,
         .ExpectA = 0x10,
         .ExpectFlags = Z,
         .Cycles = 2},
        {.Name = "CBA",
         .Code = {0x11},
         .A = 0x01,
         .B = 0x02,
         .ExpectA = 0x01,
         .ExpectFlags = N | C,
         .Cycles = 2},
        {.Name = "ABA half carry",
         .Code = {0x1B},
         .A = 0x08,
         .B = 0x08,
         .ExpectA = 0x10,
         .ExpectFlags = H,
         .Cycles = 2},
        {.Name = "ADDD overflow",
         .Code = {0xC3, 0x00, 0x01},
         .A = 0x7F,
         .B = 0xFF,
         .ExpectA = 0x80,
         .ExpectB = 0x00,
         .ExpectFlags = N | V,
         .Cycles = 4},
        {.Name = "SUBD borrow",
         .Code = {0x83, 0x00, 0x01},
         .ExpectA = 0xFF,
         .ExpectB = 0xFF,
         .ExpectFlags = N | C,
         .Cycles = 4},
        {.Name = "SUBD extended",
         .Code = {0xB3, 0x00, 0x80},
         .A = 0x12,
         .B = 0x34,
         .Memory = 0x0234,
         .ExpectA = 0x10,
         .ExpectB = 0x00,
         .ExpectFlags = 0,
         .Cycles = 6},
        {.Name = "CPX signed overflow",
         .Code = {0x8C, 0x80, 0x00},
         .X = 0x7FFF,
         .ExpectX = 0x7FFF,
         .ExpectFlags = N | V | C,
         .Cycles = 4},
        {.Name = "CPD",
         .Code = {0x1A, 0x83, 0x12, 0x34},
         .A = 0x12,
         .B = 0x34,
         .ExpectFlags = Z,
         .Cycles = 5},
        {.Name = "CPY indexed by X",
         .Code = {0x1A, 0xAC, 0x00},
         .X = DataAddress,
         .Y = 0x0100,
         .Memory = 0x0100,
         .ExpectFlags = Z,
         .Cycles = 7},
        {.Name = "CPX indexed by Y",
         .Code = {0xCD, 0xAC, 0x00},
         .X = 0x0001,
         .Y = DataAddress,
         .Memory = 0x0002,
         .ExpectFlags = N | C,
         .Cycles = 7},
        {.Name = "NEGA of $80",
         .Code = {0x40},
         .A = 0x80,
         .ExpectA = 0x80,
         .ExpectFlags = N | V | C,
         .Cycles = 2},
        {.Name = "NEGA of zero",
         .Code = {0x40},
         .A = 0x00,
         .Flags = C,
         .ExpectA = 0x00,
         .ExpectFlags = Z,
         .Cycles = 2},
        {.Name = "COMA",
         .Code = {0x43},
         .A = 0x55,
         .ExpectA = 0xAA,
         .ExpectFlags = N | C,
         .Cycles = 2},
        {.Name = "ASLA",
         .Code = {0x48},
         .A = 0x80,
         .ExpectA = 0x00,
         .ExpectFlags = Z | V | C,
         .Cycles = 2},
        {.Name = "ASRA keeps the sign",
         .Code = {0x47},
         .A = 0x81,
         .ExpectA = 0xC0,
         .ExpectFlags = N | C,
         .Cycles = 2},
        {.Name = "LSRA",
         .Code = {0x44},
         .A = 0x01,
         .ExpectA = 0x00,
         .ExpectFlags = Z | V | C,
         .Cycles = 2},
        {.Name = "ROLA",
         .Code = {0x49},
         .A = 0x80,
         .ExpectA = 0x00,
         .ExpectFlags = Z | V | C,
         .Cycles = 2},
        {.Name = "RORA carry in",
         .Code = {0x46},
         .A = 0x01,
         .Flags = C,
         .ExpectA = 0x80,
         .ExpectFlags = N | C,
         .Cycles = 2},
        {.Name = "INCA overflow keeps C",
         .Code = {0x4C},
         .A = 0x7F,
         .Flags = C,
         .ExpectA = 0x80,
         .ExpectFlags = N | V | C,
         .Cycles = 2},
        {.Name = "DECA overflow",
         .Code = {0x4A},
         .A = 0x80,
         .ExpectA = 0x7F,
         .ExpectFlags = V,
         .Cycles = 2},
        {.Name = "TSTA clears V and C",
         .Code = {0x4D},
         .A = 0x00,
         .Flags = V | C,
         .ExpectFlags = Z,
         .Cycles = 2},
        {.Name = "CLRB",
         .Code = {0x5F},
         .B = 0x12,
         .Flags = N | V | C,
         .ExpectB = 0x00,
         .ExpectFlags = Z,
         .Cycles = 2},
        {.Name = "ASLD",
         .Code = {0x05},
         .A = 0x80,
         .B = 0x01,
         .ExpectA = 0x00,
         .ExpectB = 0x02,
         .ExpectFlags = V | C,
         .Cycles = 3},
        {.Name = "LSRD",
         .Code = {0x04},
         .A = 0x00,
         .B = 0x01,
         .ExpectA = 0x00,
         .ExpectB = 0x00,
         .ExpectFlags = Z | V | C,
         .Cycles = 3},
        {.Name = "INC memory indexed",
         .Code = {0x6C, 0x01},
         .X = DataAddress,
         .Memory = 0x00FF,
         .ExpectFlags = Z,
         .ExpectMemory = 0x0000,
         .Cycles = 6},
        {.Name = "NEG memory indexed by Y",
         .Code = {0x18, 0x60, 0x00},
         .Y = DataAddress,
         .Memory = 0x0100,
         .ExpectFlags = N | C,
         .ExpectMemory = 0xFF00,
         .Cycles = 7},
        {.Name = "MUL",
         .Code = {0x3D},
         .A = 0xFF,
         .B = 0xFF,
         .ExpectA = 0xFE,
         .ExpectB = 0x01,
         .ExpectFlags = 0,
         .Cycles = 10},
        {.Name = "MUL rounding carry",
         .Code = {0x3D},
         .A = 0x80,
         .B = 0x01,
         .ExpectA = 0x00,
         .ExpectB = 0x80,
         .ExpectFlags = C,
         .Cycles = 10},
        {.Name = "IDIV",
         .Code = {0x02},
         .A = 0x00,
         .B = 0x07,
         .X = 0x0002,
         .ExpectA = 0x00,
         .ExpectB = 0x01,
         .ExpectX = 0x0003,
         .ExpectFlags = 0,
         .Cycles = 41},
        {.Name = "IDIV by zero",
         .Code = {0x02},
         .B = 0x07,
         .X = 0x0000,
         .ExpectX = 0xFFFF,
         .ExpectFlags = C,
         .Cycles = 41},
        {.Name = "FDIV",
         .Code = {0x03},
         .A = 0x00,
         .B = 0x01,
         .X = 0x0002,
         .ExpectA = 0x00,
         .ExpectB = 0x00,
         .ExpectX = 0x8000,
         .ExpectFlags = 0,
         .Cycles = 41},
        {.Name = "FDIV overflow",
         .Code = {0x03},
         .B = 0x02,
         .X = 0x0002,
         .ExpectX = 0xFFFF,
         .ExpectFlags = V,
         .Cycles = 41},
        {.Name = "DAA after 15 + 27",
         .Code = {0x8B, 0x27, 0x19},
         .A = 0x15,
         .ExpectA = 0x42,
         .Cycles = 4,
         .Steps = 2},
        {.Name = "DAA after 99 + 01",
         .Code = {0x8B, 0x01, 0x19},
         .A = 0x99,
         .ExpectA = 0x00,
         .Cycles = 4,
         .Steps = 2},
        {.Name = "DAA after 09 + 09 (half carry)",
         .Code = {0x8B, 0x09, 0x19},
         .A = 0x09,
         .ExpectA = 0x18,
         .Cycles = 4,
         .Steps = 2},
        {.Name = "ABX is unsigned",
         .Code = {0x3A},
         .B = 0xFF,
         .X = 0x0001,
         .ExpectX = 0x0100,
         .Cycles = 3},
        {.Name = "ABY",
         .Code = {0x18, 0x3A},
         .B = 0x10,
         .Y = 0x00F0,
         .ExpectY = 0x0100,
         .Cycles = 4},
        {.Name = "XGDX",
         .Code = {0x8F},
         .A = 0x12,
         .B = 0x34,
         .X = 0x5678,
         .ExpectA = 0x56,
         .ExpectB = 0x78,
         .ExpectX = 0x1234,
         .Cycles = 3},
        {.Name = "XGDY",
         .Code = {0x18, 0x8F},
         .A = 0x12,
         .B = 0x34,
         .Y = 0x5678,
         .ExpectA = 0x56,
         .ExpectB = 0x78,
         .ExpectY = 0x1234,
         .Cycles = 4},
        {.Name = "INX to zero",
         .Code = {0x08},
         .X = 0xFFFF,
         .ExpectX = 0x0000,
         .ExpectFlags = Z,
         .Cycles = 3},
        {.Name = "DEY",
         .Code = {0x18, 0x09},
         .Y = 0x0002,
         .ExpectY = 0x0001,
         .ExpectFlags = 0,
         .Cycles = 4},
        {.Name = "LDD immediate",
         .Code = {0xCC, 0x80, 0x00},
         .Flags = V,
         .ExpectA = 0x80,
         .ExpectB = 0x00,
         .ExpectFlags = N,
         .Cycles = 3},
        {.Name = "LDY indexed by X",
         .Code = {0x1A, 0xEE, 0x00},
         .X = DataAddress,
         .Memory = 0xBEEF,
         .ExpectY = 0xBEEF,
         .ExpectFlags = N,
         .Cycles = 6},
        {.Name = "LDX indexed by Y",
         .Code = {0xCD, 0xEE, 0x00},
         .Y = DataAddress,
         .Memory = 0x1234,
         .ExpectX = 0x1234,
         .ExpectFlags = 0,
         .Cycles = 6},
        {.Name = "STX indexed by Y",
         .Code = {0xCD, 0xEF, 0x00},
         .X = 0x0000,
         .Y = DataAddress,
         .Memory = 0xFFFF,
         .ExpectFlags = Z,
         .ExpectMemory = 0x0000,
         .Cycles = 6},
        {.Name = "STY indexed by X",
         .Code = {0x1A, 0xEF, 0x00},
         .X = DataAddress,
         .Y = 0x8001,
         .ExpectFlags = N,
         .ExpectMemory = 0x8001,
         .Cycles = 6},
        {.Name = "LDAA indexed by Y",
         .Code = {0x18, 0xA6, 0x01},
         .Y = DataAddress,
         .Memory = 0x0042,
         .ExpectA = 0x42,
         .Cycles = 5},
        {.Name = "STD direct",
         .Code = {0xDD, 0x80},
         .A = 0x12,
         .B = 0x34,
         .ExpectMemory = 0x1234,
         .Cycles = 4},
        {.Name = "BSET direct",
         .Code = {0x14, 0x80, 0x0F},
         .Memory = 0xF000,
         .ExpectFlags = N,
         .ExpectMemory = 0xFF00,
         .Cycles = 6},
        {.Name = "BCLR indexed",
         .Code = {0x1D, 0x00, 0xF0},
         .X = DataAddress,
         .Memory = 0xF000,
         .ExpectFlags = Z,
         .ExpectMemory = 0x0000,
         .Cycles = 7},
        {.Name = "BSET indexed by Y",
         .Code = {0x18, 0x1C, 0x00, 0x01},
         .Y = DataAddress,
         .ExpectMemory = 0x0100,
         .Cycles = 8},
        {.Name = "BRSET taken",
         .Code = {0x12, 0x80, 0x81, 0x10},
         .Memory = 0x8300,
         .ExpectPC = CodeAddress + 4 + 0x10,
         .Cycles = 6},
        {.Name = "BRSET not taken",
         .Code = {0x12, 0x80, 0x81, 0x10},
         .Memory = 0x0300,
         .Cycles = 6},
        {.Name = "BRCLR indexed taken",
         .Code = {0x1F, 0x00, 0x81, 0xFC},
         .X = DataAddress,
         .Memory = 0x7E00,
         .ExpectPC = CodeAddress,
         .Cycles = 7},
        {.Name = "BRCLR indexed by Y not taken",
         .Code = {0x18, 0x1F, 0x00, 0x01, 0x10},
         .Y = DataAddress,
         .Memory = 0x0100,
         .Cycles = 8},
        {.Name = "BRA backwards", .Code = {0x20, 0xFE}, .ExpectPC = CodeAddress, .Cycles = 3},
        {.Name = "BEQ not taken", .Code = {0x27, 0x10}, .Cycles = 3},
        {.Name = "BHI after 2 - 1",
         .Code = {0x81, 0x01, 0x22, 0x10},
         .A = 0x02,
         .ExpectPC = CodeAddress + 4 + 0x10,
         .Cycles = 5,
         .Steps = 2},
        {.Name = "BGT is signed: -1 > 1 fails",
         .Code = {0x81, 0x01, 0x2E, 0x10},
         .A = 0xFF,
         .Cycles = 5,
         .Steps = 2},
        {.Name = "BLT overflow: $80 - 1",
         .Code = {0x81, 0x01, 0x2D, 0x10},
         .A = 0x80,
         .ExpectPC = CodeAddress + 4 + 0x10,
         .Cycles = 5,
         .Steps = 2},
        {.Name = "BSR then RTS",
         .Code = {0x8D, 0x01, 0x01, 0x39},
         .ExpectPC = CodeAddress + 2,
         .Cycles = 11,
         .Steps = 2},
        {.Name = "JSR direct",
         .Code = {0x9D, 0x80},
         .Memory = 0x3900,
         .ExpectPC = DataAddress,
         .Cycles = 5},
        {.Name = "TPA", .Code = {0x07}, .Flags = N | C, .ExpectA = 0xD0 | N | C, .Cycles = 2},
        {.Name = "TAB sets N",
         .Code = {0x16},
         .A = 0x80,
         .Flags = V,
         .ExpectB = 0x80,
         .ExpectFlags = N,
         .Cycles = 2},
        {.Name = "SEC SEV CLC",
         .Code = {0x0D, 0x0B, 0x0C},
         .ExpectFlags = V,
         .Cycles = 6,
         .Steps = 3},
    };
    for (const InstructionCase& c : cases)
        Check(c);
}

TEST_F(InstructionCases, StackOperationsPushHighByteBelowLowByte) {
    Start(CodeAddress, {0x3C, 0x18, 0x3C, 0x36, 0x37, 0x33, 0x32, 0x18, 0x38, 0x38});
    Cpu().SP = 0x01FF;
    Cpu().A = 0x11;
    Cpu().B = 0x22;
    Cpu().X = 0x1234;
    Cpu().Y = 0x5678;
    EXPECT_EQ(4u, StepCycles()); // PSHX
    EXPECT_EQ(5u, StepCycles()); // PSHY
    EXPECT_EQ(3u, StepCycles()); // PSHA
    EXPECT_EQ(3u, StepCycles()); // PSHB
    EXPECT_EQ(0x01F9, Cpu().SP);
    EXPECT_EQ(0x1234, Machine->PeekWord(0x01FE));
    EXPECT_EQ(0x5678, Machine->PeekWord(0x01FC));
    EXPECT_EQ(0x11, Machine->Peek(0x01FB));
    EXPECT_EQ(0x22, Machine->Peek(0x01FA));
    EXPECT_EQ(4u, StepCycles()); // PULB gets the last push (B)
    EXPECT_EQ(4u, StepCycles()); // PULA
    EXPECT_EQ(6u, StepCycles()); // PULY
    EXPECT_EQ(5u, StepCycles()); // PULX
    EXPECT_EQ(0x22, Cpu().B);
    EXPECT_EQ(0x11, Cpu().A);
    EXPECT_EQ(0x5678, Cpu().Y);
    EXPECT_EQ(0x1234, Cpu().X);
    EXPECT_EQ(0x01FF, Cpu().SP);
}

TEST_F(InstructionCases, TapCanClearXButNeverSetIt) {
    Start(CodeAddress, {0x06, 0x86, 0xFF, 0x06});
    Cpu().A = 0x00; // TAP: clears X (and S, I)
    Machine->Step();
    EXPECT_EQ(0x00, Cpu().CCR);
    Machine->Step(); // LDAA #$FF
    Machine->Step(); // TAP: everything but X
    EXPECT_EQ(0xBF, Cpu().CCR);
}

// Every instruction of the manual's table, from random states: the flags the table marks
// "-" never change, "0" and "1" are forced, "down" (X) can only clear, the cycles are the
// table's, and an instruction that does not jump advances PC by its length.
class ManualTable : public MachineFixture {};

bool ChangesFlow(const IsaRow& row) {
    static const std::set<std::string> jumps = {"JMP", "JSR", "BSR",   "RTS",  "RTI",
                                                "SWI", "WAI", "BRSET", "BRCLR"};
    return row.Mode == "REL" || jumps.count(row.Mnemonic) > 0;
}

TEST_F(ManualTable, FlagsCyclesAndLengthsFollowTheTableFromRandomStates) {
    std::mt19937 random(11);
    const auto byte = [&] { return static_cast<uint8_t>(random()); };
    for (const IsaRow& row : ReadIsaCsv()) {
        if (row.Mnemonic == "TEST" || row.IsAlias())
            continue;
        SCOPED_TRACE(row.Mnemonic + " " + row.Mode);
        for (int trial = 0; trial < 16; ++trial) {
            Machine = std::make_unique<HC11Machine>();
            uint16_t address = CodeAddress;
            for (uint8_t opcode : row.Opcode)
                Machine->Poke(address++, opcode);
            // Operands: a direct address in internal RAM, offsets into external RAM, random
            // masks and branch offsets.
            Machine->Poke(address++, row.Mode.find("DIR") != std::string::npos ? 0x80 : byte());
            while (address < CodeAddress + row.Bytes)
                Machine->Poke(address++, byte());
            for (uint16_t data = 0x80; data < 0x100; ++data)
                Machine->Poke(data, byte());
            for (int i = 0; i < 0x200; ++i) {
                Machine->Poke(static_cast<uint16_t>(0x4000 + i), byte());
                Machine->Poke(static_cast<uint16_t>(0x5000 + i), byte());
                Machine->Poke(static_cast<uint16_t>(0x0100 + i % 0x100), byte());
            }
            Machine->SetEntryAddress(CodeAddress);
            Machine->Reset();
            Cpu().A = byte();
            Cpu().B = byte();
            Cpu().X = 0x4000;
            Cpu().Y = 0x5000;
            Cpu().SP = 0x01C0;
            const uint8_t before = trial % 2 ? byte() : (trial % 4 ? 0xFF : 0x00);
            Cpu().CCR = before;
            const uint64_t cycles = StepCycles();
            const int expectedCycles = row.Mnemonic == "WAI" ? 12 : row.CycleCount();
            EXPECT_EQ(static_cast<uint64_t>(expectedCycles), cycles);
            const uint8_t after = Cpu().CCR;
            for (int bit = 0; bit < 8; ++bit) {
                const uint8_t mask = static_cast<uint8_t>(0x80 >> bit);
                const char effect = row.Flags[bit];
                if (effect == '-') {
                    EXPECT_EQ(before & mask, after & mask) << "flag " << bit;
                } else if (effect == '0') {
                    EXPECT_EQ(0, after & mask) << "flag " << bit;
                } else if (effect == '1') {
                    EXPECT_EQ(mask, after & mask) << "flag " << bit;
                } else if (effect == 'd') {
                    EXPECT_LE(after & mask, before & mask) << "flag " << bit;
                }
            }
            if (!ChangesFlow(row)) {
                EXPECT_EQ(CodeAddress + row.Bytes, Cpu().PC);
            }
        }
    }
}

TEST_F(ManualTable, EveryLegalOpcodeRunsAndEveryOtherTraps) {
    for (int page = 0; page < OpcodePageCount; ++page) {
        for (int opcode = 0; opcode < 256; ++opcode) {
            const uint8_t prebyte = PrebyteOfPage(static_cast<OpcodePage>(page));
            if (page == 0 && IsPrebyte(static_cast<uint8_t>(opcode)))
                continue;
            Machine = std::make_unique<HC11Machine>();
            PlaceWord(Vector::IllegalOpcode, 0x7000);
            uint16_t address = CodeAddress;
            if (prebyte)
                Machine->Poke(address++, prebyte);
            Machine->Poke(address, static_cast<uint8_t>(opcode));
            Machine->SetEntryAddress(CodeAddress);
            Machine->Reset();
            Cpu().SP = 0x01C0;
            const RunResult result = Machine->Step();
            const bool legal = LookupOpcode(static_cast<OpcodePage>(page), opcode).IsLegal();
            EXPECT_EQ(legal, result.Reason != StopReason::IllegalOpcode)
                << "page " << page << " opcode " << opcode;
            if (!legal) {
                EXPECT_EQ(0x7000, Cpu().PC);
                EXPECT_EQ(CodeAddress, Machine->PeekWord(0x01C0 - 1)); // stacked PC
                EXPECT_EQ(prebyte ? 15u : 14u, result.Cycles);
            }
        }
    }
}

} // namespace
} // namespace corvid
