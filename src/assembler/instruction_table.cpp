#include "assembler/instruction_table.h"

#include "foundation/errors.h"
#include "parsing/asm_tokens.h"

namespace corvid {

namespace {

int IdOf(const char* mnemonic) {
    const int id = AsmReservedWordId(mnemonic);
    CORVID_ASSERT(id >= AsmFirstMnemonic && id <= AsmLastMnemonic,
                  std::string("Unknown mnemonic ") + mnemonic);
    return id;
}

struct IDEXYRow {
    const char* Mnemonic;
    int DataSize;
    uint16_t Immediate, Direct, Extended, IndexedX, IndexedY;
};

constexpr IDEXYRow IDEXYRows[] = {
    {"ADCA", 1, 0x89, 0x99, 0xB9, 0xA9, 0x18A9},
    {"ADCB", 1, 0xC9, 0xD9, 0xF9, 0xE9, 0x18E9},
    {"ADDA", 1, 0x8B, 0x9B, 0xBB, 0xAB, 0x18AB},
    {"ADDB", 1, 0xCB, 0xDB, 0xFB, 0xEB, 0x18EB},
    {"ANDA", 1, 0x84, 0x94, 0xB4, 0xA4, 0x18A4},
    {"ANDB", 1, 0xC4, 0xD4, 0xF4, 0xE4, 0x18E4},
    {"BITA", 1, 0x85, 0x95, 0xB5, 0xA5, 0x18A5},
    {"BITB", 1, 0xC5, 0xD5, 0xF5, 0xE5, 0x18E5},
    {"CMPA", 1, 0x81, 0x91, 0xB1, 0xA1, 0x18A1},
    {"CMPB", 1, 0xC1, 0xD1, 0xF1, 0xE1, 0x18E1},
    {"EORA", 1, 0x88, 0x98, 0xB8, 0xA8, 0x18A8},
    {"EORB", 1, 0xC8, 0xD8, 0xF8, 0xE8, 0x18E8},
    {"LDAA", 1, 0x86, 0x96, 0xB6, 0xA6, 0x18A6},
    {"LDAB", 1, 0xC6, 0xD6, 0xF6, 0xE6, 0x18E6},
    {"ORAA", 1, 0x8A, 0x9A, 0xBA, 0xAA, 0x18AA},
    {"ORAB", 1, 0xCA, 0xDA, 0xFA, 0xEA, 0x18EA},
    {"SBCA", 1, 0x82, 0x92, 0xB2, 0xA2, 0x18A2},
    {"SBCB", 1, 0xC2, 0xD2, 0xF2, 0xE2, 0x18E2},
    {"SUBA", 1, 0x80, 0x90, 0xB0, 0xA0, 0x18A0},
    {"SUBB", 1, 0xC0, 0xD0, 0xF0, 0xE0, 0x18E0},
    {"ADDD", 2, 0xC3, 0xD3, 0xF3, 0xE3, 0x18E3},
    {"CPD", 2, 0x1A83, 0x1A93, 0x1AB3, 0x1AA3, 0xCDA3},
    {"CMPD", 2, 0x1A83, 0x1A93, 0x1AB3, 0x1AA3, 0xCDA3},
    {"CPX", 2, 0x8C, 0x9C, 0xBC, 0xAC, 0xCDAC},
    {"CPY", 2, 0x188C, 0x189C, 0x18BC, 0x1AAC, 0x18AC},
    {"LDD", 2, 0xCC, 0xDC, 0xFC, 0xEC, 0x18EC},
    {"LDS", 2, 0x8E, 0x9E, 0xBE, 0xAE, 0x18AE},
    {"LDX", 2, 0xCE, 0xDE, 0xFE, 0xEE, 0xCDEE},
    {"LDY", 2, 0x18CE, 0x18DE, 0x18FE, 0x1AEE, 0x18EE},
    {"SUBD", 2, 0x83, 0x93, 0xB3, 0xA3, 0x18A3},
};

struct DEXYRow {
    const char* Mnemonic;
    uint16_t Direct, Extended, IndexedX, IndexedY;
};

constexpr DEXYRow DEXYRows[] = {
    {"JSR", 0x9D, 0xBD, 0xAD, 0x18AD},       {"STAA", 0x97, 0xB7, 0xA7, 0x18A7},
    {"STAB", 0xD7, 0xF7, 0xE7, 0x18E7},      {"STD", 0xDD, 0xFD, 0xED, 0x18ED},
    {"STS", 0x9F, 0xBF, 0xAF, 0x18AF},       {"STX", 0xDF, 0xFF, 0xEF, 0xCDEF},
    {"STY", 0x18DF, 0x18FF, 0x1AEF, 0x18EF},
};

struct EXYRow {
    const char* Mnemonic;
    uint16_t Extended, IndexedX, IndexedY;
};

constexpr EXYRow EXYRows[] = {
    {"ASL", 0x78, 0x68, 0x1868}, {"ASR", 0x77, 0x67, 0x1867}, {"CLR", 0x7F, 0x6F, 0x186F},
    {"COM", 0x73, 0x63, 0x1863}, {"DEC", 0x7A, 0x6A, 0x186A}, {"INC", 0x7C, 0x6C, 0x186C},
    {"JMP", 0x7E, 0x6E, 0x186E}, {"LSL", 0x78, 0x68, 0x1868}, {"LSR", 0x74, 0x64, 0x1864},
    {"NEG", 0x70, 0x60, 0x1860}, {"ROL", 0x79, 0x69, 0x1869}, {"ROR", 0x76, 0x66, 0x1866},
    {"TST", 0x7D, 0x6D, 0x186D},
};

struct OneOpcodeRow {
    const char* Mnemonic;
    uint16_t Opcode;
};

constexpr OneOpcodeRow RelRows[] = {
    {"BCC", 0x24}, {"BCS", 0x25}, {"BEQ", 0x27}, {"BGE", 0x2C}, {"BGT", 0x2E},
    {"BHI", 0x22}, {"BHS", 0x24}, {"BLE", 0x2F}, {"BLO", 0x25}, {"BLS", 0x23},
    {"BLT", 0x2D}, {"BMI", 0x2B}, {"BNE", 0x26}, {"BPL", 0x2A}, {"BRA", 0x20},
    {"BRN", 0x21}, {"BSR", 0x8D}, {"BVC", 0x28}, {"BVS", 0x29},
};

constexpr OneOpcodeRow InhRows[] = {
    {"ABA", 0x1B},  {"ABX", 0x3A},    {"ABY", 0x183A},  {"ASLA", 0x48},  {"ASLB", 0x58},
    {"ASLD", 0x05}, {"ASRA", 0x47},   {"ASRB", 0x57},   {"CBA", 0x11},   {"CLC", 0x0C},
    {"CLI", 0x0E},  {"CLRA", 0x4F},   {"CLRB", 0x5F},   {"CLV", 0x0A},   {"COMA", 0x43},
    {"COMB", 0x53}, {"DAA", 0x19},    {"DECA", 0x4A},   {"DECB", 0x5A},  {"DES", 0x34},
    {"DEX", 0x09},  {"DEY", 0x1809},  {"FDIV", 0x03},   {"IDIV", 0x02},  {"INCA", 0x4C},
    {"INCB", 0x5C}, {"INS", 0x31},    {"INX", 0x08},    {"INY", 0x1808}, {"LSLA", 0x48},
    {"LSLB", 0x58}, {"LSLD", 0x05},   {"LSRA", 0x44},   {"LSRB", 0x54},  {"LSRD", 0x04},
    {"MUL", 0x3D},  {"NEGA", 0x40},   {"NEGB", 0x50},   {"NOP", 0x01},   {"PSHA", 0x36},
    {"PSHB", 0x37}, {"PSHX", 0x3C},   {"PSHY", 0x183C}, {"PULA", 0x32},  {"PULB", 0x33},
    {"PULX", 0x38}, {"PULY", 0x1838}, {"ROLA", 0x49},   {"ROLB", 0x59},  {"RORA", 0x46},
    {"RORB", 0x56}, {"RTI", 0x3B},    {"RTS", 0x39},    {"SBA", 0x10},   {"SEC", 0x0D},
    {"SEI", 0x0F},  {"SEV", 0x0B},    {"STOP", 0xCF},   {"SWI", 0x3F},   {"TAB", 0x16},
    {"TAP", 0x06},  {"TBA", 0x17},    {"TEST", 0x00},   {"TPA", 0x07},   {"TSTA", 0x4D},
    {"TSTB", 0x5D}, {"TSX", 0x30},    {"TSY", 0x1830},  {"TXS", 0x35},   {"TYS", 0x1835},
    {"WAI", 0x3E},  {"XGDX", 0x8F},   {"XGDY", 0x188F},
};

int KeyOf(const TIns* ins) {
    return ins->Mnemonic;
}

} // namespace

TInsIDEXY::TInsIDEXY(int mnemonic, int dataSize, uint16_t opImmediate, uint16_t opDirect,
                     uint16_t opExtended, uint16_t opIndexedX, uint16_t opIndexedY)
    : TIns(mnemonic, TInsClass::IDEXY), DataSize(dataSize), OpImmediate(opImmediate),
      OpDirect(opDirect), OpExtended(opExtended), OpIndexedX(opIndexedX), OpIndexedY(opIndexedY) {
    CORVID_ASSERT(dataSize == 1 || dataSize == 2, "Bad DS");
}

void FillInstructionTable(TObjectList<TIns>& instructions) {
    for (const auto& row : IDEXYRows)
        instructions.Add(new TInsIDEXY(IdOf(row.Mnemonic), row.DataSize, row.Immediate, row.Direct,
                                       row.Extended, row.IndexedX, row.IndexedY));
    for (const auto& row : DEXYRows)
        instructions.Add(
            new TInsDEXY(IdOf(row.Mnemonic), row.Direct, row.Extended, row.IndexedX, row.IndexedY));
    for (const auto& row : EXYRows)
        instructions.Add(new TInsEXY(IdOf(row.Mnemonic), row.Extended, row.IndexedX, row.IndexedY));
    instructions.Add(new TInsDXY(IdOf("BCLR"), 0x15, 0x1D, 0x181D));
    instructions.Add(new TInsDXY(IdOf("BSET"), 0x14, 0x1C, 0x181C));
    instructions.Add(new TInsDXYBranch(IdOf("BRCLR"), 0x13, 0x1F, 0x181F));
    instructions.Add(new TInsDXYBranch(IdOf("BRSET"), 0x12, 0x1E, 0x181E));
    for (const auto& row : RelRows)
        instructions.Add(new TInsRel(IdOf(row.Mnemonic), row.Opcode));
    for (const auto& row : InhRows)
        instructions.Add(new TInsInh(IdOf(row.Mnemonic), row.Opcode));
    instructions.OnCompare = [](TIns* a, TIns* b) {
        return a->Mnemonic < b->Mnemonic ? -1 : (a->Mnemonic > b->Mnemonic ? 1 : 0);
    };
    instructions.Sort();
}

const TIns* FindInstruction(const TObjectList<TIns>& instructions, int mnemonic) {
    return instructions.FindByKey(mnemonic, KeyOf);
}

} // namespace corvid
