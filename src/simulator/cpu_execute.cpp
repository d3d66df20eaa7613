// The 68HC11 instruction set: one switch per opcode page, each case the whole instruction.
// Cycles are charged from the opcode table before the instruction runs, so a register the
// instruction reads sees the clock at the instruction's end.

#include "simulator/hc11_machine.h"

#include "simulator/opcode_table.h"
#include "simulator/register_map.h"

namespace corvid {

namespace {

using namespace Ccr;
constexpr uint8_t NZV = N | Z | V;
constexpr uint8_t NZVC = N | Z | V | C;

inline uint8_t Nz8(uint8_t r) {
    return static_cast<uint8_t>(((r >> 4) & N) | (r == 0 ? Z : 0));
}
inline uint8_t Nz16(uint16_t r) {
    return static_cast<uint8_t>(((r >> 12) & N) | (r == 0 ? Z : 0));
}

} // namespace

class InstructionSet {
public:
    explicit InstructionSet(HC11Machine& machine) : M(machine), R(machine.Cpu) {}

    void Execute();

private:
    void ExecutePage18(uint16_t opcodeAddress);
    void ExecutePage1A(uint16_t opcodeAddress);
    void ExecutePageCD(uint16_t opcodeAddress);

    // Operands.
    uint8_t Imm8() { return M.Fetch8(); }
    uint16_t Imm16() { return M.Fetch16(); }
    uint16_t Dir() { return M.Fetch8(); }
    uint16_t Ext() { return M.Fetch16(); }
    uint16_t IdxX() { return static_cast<uint16_t>(R.X + M.Fetch8()); }
    uint16_t IdxY() { return static_cast<uint16_t>(R.Y + M.Fetch8()); }
    uint8_t Rd(uint16_t address) { return M.Read8(address); }
    uint16_t Rd16(uint16_t address) { return M.Read16(address); }
    void Wr(uint16_t address, uint8_t value) { M.Write8(address, value); }
    void Wr16(uint16_t address, uint16_t value) { M.Write16(address, value); }

    // Condition codes.
    void SetFlags(uint8_t mask, uint8_t flags) {
        R.CCR = static_cast<uint8_t>((R.CCR & ~mask) | flags);
    }
    uint8_t Carry() const { return R.CCR & C; }

    // Arithmetic and logic.
    uint8_t Add(uint8_t a, uint8_t m, unsigned carry) {
        const unsigned sum = a + m + carry;
        const auto r = static_cast<uint8_t>(sum);
        SetFlags(H | NZVC, static_cast<uint8_t>(((a ^ m ^ r) & 0x10) << 1 | Nz8(r) |
                                                ((a ^ r) & (m ^ r) & 0x80) >> 6 | sum >> 8));
        return r;
    }
    uint8_t Sub(uint8_t a, uint8_t m, unsigned borrow) {
        const unsigned difference = a - m - borrow;
        const auto r = static_cast<uint8_t>(difference);
        SetFlags(NZVC, static_cast<uint8_t>(Nz8(r) | ((a ^ m) & (a ^ r) & 0x80) >> 6 |
                                            ((difference >> 8) & 1)));
        return r;
    }
    uint16_t Add16(uint16_t a, uint16_t m) {
        const uint32_t sum = uint32_t{a} + m;
        const auto r = static_cast<uint16_t>(sum);
        SetFlags(NZVC,
                 static_cast<uint8_t>(Nz16(r) | ((a ^ r) & (m ^ r) & 0x8000) >> 14 | sum >> 16));
        return r;
    }
    uint16_t Sub16(uint16_t a, uint16_t m) {
        const uint32_t difference = uint32_t{a} - m;
        const auto r = static_cast<uint16_t>(difference);
        SetFlags(NZVC, static_cast<uint8_t>(Nz16(r) | ((a ^ m) & (a ^ r) & 0x8000) >> 14 |
                                            ((difference >> 16) & 1)));
        return r;
    }
    uint8_t Logic(uint8_t r) {
        SetFlags(NZV, Nz8(r));
        return r;
    }
    uint16_t Logic16(uint16_t r) {
        SetFlags(NZV, Nz16(r));
        return r;
    }
    void Store(uint16_t address, uint8_t value) { Wr(address, Logic(value)); }
    void Store16(uint16_t address, uint16_t value) { Wr16(address, Logic16(value)); }

    // Shifts and the other read-modify-write operations. V is N xor C after a shift.
    uint8_t Shifted(uint8_t r, uint8_t carryOut) {
        const uint8_t n = r >> 7;
        SetFlags(NZVC, static_cast<uint8_t>(Nz8(r) | carryOut | (n ^ carryOut) << 1));
        return r;
    }
    uint8_t Asl(uint8_t a) { return Shifted(static_cast<uint8_t>(a << 1), a >> 7); }
    uint8_t Asr(uint8_t a) { return Shifted(static_cast<uint8_t>((a >> 1) | (a & 0x80)), a & 1); }
    uint8_t Lsr(uint8_t a) { return Shifted(static_cast<uint8_t>(a >> 1), a & 1); }
    uint8_t Rol(uint8_t a) { return Shifted(static_cast<uint8_t>(a << 1 | Carry()), a >> 7); }
    uint8_t Ror(uint8_t a) { return Shifted(static_cast<uint8_t>(a >> 1 | Carry() << 7), a & 1); }
    uint8_t Neg(uint8_t a) {
        const auto r = static_cast<uint8_t>(-a);
        SetFlags(NZVC, static_cast<uint8_t>(Nz8(r) | (r == 0x80 ? V : 0) | (r != 0 ? C : 0)));
        return r;
    }
    uint8_t Com(uint8_t a) {
        const auto r = static_cast<uint8_t>(~a);
        SetFlags(NZVC, static_cast<uint8_t>(Nz8(r) | C));
        return r;
    }
    uint8_t Inc(uint8_t a) {
        const auto r = static_cast<uint8_t>(a + 1);
        SetFlags(NZV, static_cast<uint8_t>(Nz8(r) | (r == 0x80 ? V : 0)));
        return r;
    }
    uint8_t Dec(uint8_t a) {
        const auto r = static_cast<uint8_t>(a - 1);
        SetFlags(NZV, static_cast<uint8_t>(Nz8(r) | (r == 0x7F ? V : 0)));
        return r;
    }
    uint8_t Clr() {
        SetFlags(NZVC, Z);
        return 0;
    }
    void Tst(uint8_t a) { SetFlags(NZVC, Nz8(a)); }
    template <class Operation>
    void Modify(uint16_t address, Operation operation) {
        Wr(address, (this->*operation)(Rd(address)));
    }
    void ModifyClr(uint16_t address) { Wr(address, Clr()); }

    // Branches and bit operations.
    void Branch(bool taken) {
        const auto offset = static_cast<int8_t>(M.Fetch8());
        if (taken)
            R.PC = static_cast<uint16_t>(R.PC + offset);
    }
    void BitSet(uint16_t address) { Wr(address, Logic(Rd(address) | Imm8())); }
    void BitClear(uint16_t address) {
        Wr(address, Logic(static_cast<uint8_t>(Rd(address) & ~Imm8())));
    }
    void BranchIfSet(uint16_t address) {
        const uint8_t value = Rd(address);
        Branch((~value & Imm8()) == 0);
    }
    void BranchIfClear(uint16_t address) {
        const uint8_t value = Rd(address);
        Branch((value & Imm8()) == 0);
    }
    bool Lt() const { return ((R.CCR >> 3) ^ (R.CCR >> 1)) & 1; } // N xor V
    bool Le() const { return Lt() || (R.CCR & Z); }

    // Subroutines and the stack.
    void Jsr(uint16_t target) {
        M.Push16(R.PC);
        R.PC = target;
    }
    void Bsr() {
        const auto offset = static_cast<int8_t>(M.Fetch8());
        Jsr(static_cast<uint16_t>(R.PC + offset));
    }
    void Rti();
    void Tap(uint8_t value);

    // Multiply and divide.
    void Mul();
    void Idiv();
    void Fdiv();
    void Daa();

    void IndexIncrement(uint16_t& index, int step) {
        index = static_cast<uint16_t>(index + step);
        SetFlags(Z, index == 0 ? Z : 0);
    }
    void Exchange(uint16_t& index) {
        const uint16_t d = R.D();
        R.SetD(index);
        index = d;
    }

    HC11Machine& M;
    CpuRegisters& R;
};

void InstructionSet::Rti() {
    Tap(M.Pull8());
    R.B = M.Pull8();
    R.A = M.Pull8();
    R.X = M.Pull16();
    R.Y = M.Pull16();
    R.PC = M.Pull16();
}

// X can be cleared by the program but never set again.
void InstructionSet::Tap(uint8_t value) {
    R.CCR = static_cast<uint8_t>((value & ~X) | (value & R.CCR & X));
    M.CcrUnmasked();
}

void InstructionSet::Mul() {
    R.SetD(static_cast<uint16_t>(R.A * R.B));
    SetFlags(C, (R.B & 0x80) ? C : 0); // C rounds the high byte as a fraction
}

void InstructionSet::Idiv() {
    const uint16_t numerator = R.D(), divisor = R.X;
    if (divisor == 0) {
        R.X = 0xFFFF;
        SetFlags(Z | V | C, C);
        return;
    }
    R.X = static_cast<uint16_t>(numerator / divisor);
    R.SetD(static_cast<uint16_t>(numerator % divisor));
    SetFlags(Z | V | C, R.X == 0 ? Z : 0);
}

void InstructionSet::Fdiv() {
    const uint16_t numerator = R.D(), divisor = R.X;
    if (divisor <= numerator) { // divide by zero (C) or a quotient of 1 or more (V)
        R.X = 0xFFFF;
        SetFlags(Z | V | C, static_cast<uint8_t>(V | (divisor == 0 ? C : 0)));
        return;
    }
    const uint32_t scaled = uint32_t{numerator} << 16;
    R.X = static_cast<uint16_t>(scaled / divisor);
    R.SetD(static_cast<uint16_t>(scaled % divisor));
    SetFlags(Z | V | C, R.X == 0 ? Z : 0);
}

// Decimal adjust after a BCD addition, from the correction table of the reference manual.
// V follows the addition of the correction (the manual leaves it undefined).
void InstructionSet::Daa() {
    const uint8_t a = R.A, low = a & 0x0F, high = a >> 4;
    uint8_t correction = 0, carry = Carry();
    if ((R.CCR & H) || low > 9)
        correction |= 0x06;
    if (carry || high > 9 || (high > 8 && low > 9)) {
        correction |= 0x60;
        carry = C;
    }
    const auto r = static_cast<uint8_t>(a + correction);
    SetFlags(NZVC, static_cast<uint8_t>(Nz8(r) | ((a ^ r) & (correction ^ r) & 0x80) >> 6 | carry));
    R.A = r;
}

void InstructionSet::Execute() {
    const uint16_t opcodeAddress = R.PC;
    const uint8_t opcode = M.Fetch8();
    M.CycleCount += OpcodeCycles[0][opcode];
    // clang-format off
    switch (opcode) {
    // $00-$0F
    case 0x01: break; // NOP
    case 0x02: Idiv(); break;
    case 0x03: Fdiv(); break;
    case 0x04: { // LSRD
        const uint16_t d = R.D();
        const auto r = static_cast<uint16_t>(d >> 1);
        R.SetD(r);
        SetFlags(NZVC, static_cast<uint8_t>(Nz16(r) | (d & 1) | (d & 1) << 1));
        break;
    }
    case 0x05: { // ASLD
        const uint16_t d = R.D();
        const auto r = static_cast<uint16_t>(d << 1);
        const uint8_t carry = d >> 15, negative = r >> 15;
        R.SetD(r);
        SetFlags(NZVC, static_cast<uint8_t>(Nz16(r) | carry | (negative ^ carry) << 1));
        break;
    }
    case 0x06: Tap(R.A); break;
    case 0x07: R.A = R.CCR; break; // TPA
    case 0x08: IndexIncrement(R.X, 1); break; // INX
    case 0x09: IndexIncrement(R.X, -1); break; // DEX
    case 0x0A: SetFlags(V, 0); break; // CLV
    case 0x0B: SetFlags(V, V); break; // SEV
    case 0x0C: SetFlags(C, 0); break; // CLC
    case 0x0D: SetFlags(C, C); break; // SEC
    case 0x0E: SetFlags(I, 0); M.CcrUnmasked(); break; // CLI
    case 0x0F: SetFlags(I, I); break; // SEI
    // $10-$1F
    case 0x10: R.A = Sub(R.A, R.B, 0); break; // SBA
    case 0x11: Sub(R.A, R.B, 0); break; // CBA
    case 0x12: BranchIfSet(Dir()); break; // BRSET
    case 0x13: BranchIfClear(Dir()); break; // BRCLR
    case 0x14: BitSet(Dir()); break; // BSET
    case 0x15: BitClear(Dir()); break; // BCLR
    case 0x16: R.B = Logic(R.A); break; // TAB
    case 0x17: R.A = Logic(R.B); break; // TBA
    case 0x18: ExecutePage18(opcodeAddress); break;
    case 0x19: Daa(); break;
    case 0x1A: ExecutePage1A(opcodeAddress); break;
    case 0x1B: R.A = Add(R.A, R.B, 0); break; // ABA
    case 0x1C: BitSet(IdxX()); break;
    case 0x1D: BitClear(IdxX()); break;
    case 0x1E: BranchIfSet(IdxX()); break;
    case 0x1F: BranchIfClear(IdxX()); break;
    // $20-$2F branches
    case 0x20: Branch(true); break; // BRA
    case 0x21: Branch(false); break; // BRN
    case 0x22: Branch(!(R.CCR & (C | Z))); break; // BHI
    case 0x23: Branch(R.CCR & (C | Z)); break; // BLS
    case 0x24: Branch(!(R.CCR & C)); break; // BCC
    case 0x25: Branch(R.CCR & C); break; // BCS
    case 0x26: Branch(!(R.CCR & Z)); break; // BNE
    case 0x27: Branch(R.CCR & Z); break; // BEQ
    case 0x28: Branch(!(R.CCR & V)); break; // BVC
    case 0x29: Branch(R.CCR & V); break; // BVS
    case 0x2A: Branch(!(R.CCR & N)); break; // BPL
    case 0x2B: Branch(R.CCR & N); break; // BMI
    case 0x2C: Branch(!Lt()); break; // BGE
    case 0x2D: Branch(Lt()); break; // BLT
    case 0x2E: Branch(!Le()); break; // BGT
    case 0x2F: Branch(Le()); break; // BLE
    // $30-$3F stack and register transfers
    case 0x30: R.X = static_cast<uint16_t>(R.SP + 1); break; // TSX
    case 0x31: ++R.SP; break; // INS
    case 0x32: R.A = M.Pull8(); break; // PULA
    case 0x33: R.B = M.Pull8(); break; // PULB
    case 0x34: --R.SP; break; // DES
    case 0x35: R.SP = static_cast<uint16_t>(R.X - 1); break; // TXS
    case 0x36: M.Push8(R.A); break; // PSHA
    case 0x37: M.Push8(R.B); break; // PSHB
    case 0x38: R.X = M.Pull16(); break; // PULX
    case 0x39: R.PC = M.Pull16(); break; // RTS
    case 0x3A: R.X = static_cast<uint16_t>(R.X + R.B); break; // ABX
    case 0x3B: Rti(); break;
    case 0x3C: M.Push16(R.X); break; // PSHX
    case 0x3D: Mul(); break;
    case 0x3E: M.CycleCount -= 2; M.Wait(); break; // WAI: the vector fetch comes at the end
    case 0x3F: M.EnterInterrupt(Vector::SWI, I, 0); break; // SWI
    // $40-$5F accumulator A and B
    case 0x40: R.A = Neg(R.A); break;
    case 0x43: R.A = Com(R.A); break;
    case 0x44: R.A = Lsr(R.A); break;
    case 0x46: R.A = Ror(R.A); break;
    case 0x47: R.A = Asr(R.A); break;
    case 0x48: R.A = Asl(R.A); break;
    case 0x49: R.A = Rol(R.A); break;
    case 0x4A: R.A = Dec(R.A); break;
    case 0x4C: R.A = Inc(R.A); break;
    case 0x4D: Tst(R.A); break;
    case 0x4F: R.A = Clr(); break;
    case 0x50: R.B = Neg(R.B); break;
    case 0x53: R.B = Com(R.B); break;
    case 0x54: R.B = Lsr(R.B); break;
    case 0x56: R.B = Ror(R.B); break;
    case 0x57: R.B = Asr(R.B); break;
    case 0x58: R.B = Asl(R.B); break;
    case 0x59: R.B = Rol(R.B); break;
    case 0x5A: R.B = Dec(R.B); break;
    case 0x5C: R.B = Inc(R.B); break;
    case 0x5D: Tst(R.B); break;
    case 0x5F: R.B = Clr(); break;
    // $60-$7F memory, indexed by X and extended
    case 0x60: Modify(IdxX(), &InstructionSet::Neg); break;
    case 0x63: Modify(IdxX(), &InstructionSet::Com); break;
    case 0x64: Modify(IdxX(), &InstructionSet::Lsr); break;
    case 0x66: Modify(IdxX(), &InstructionSet::Ror); break;
    case 0x67: Modify(IdxX(), &InstructionSet::Asr); break;
    case 0x68: Modify(IdxX(), &InstructionSet::Asl); break;
    case 0x69: Modify(IdxX(), &InstructionSet::Rol); break;
    case 0x6A: Modify(IdxX(), &InstructionSet::Dec); break;
    case 0x6C: Modify(IdxX(), &InstructionSet::Inc); break;
    case 0x6D: Tst(Rd(IdxX())); break;
    case 0x6E: R.PC = IdxX(); break; // JMP
    case 0x6F: ModifyClr(IdxX()); break;
    case 0x70: Modify(Ext(), &InstructionSet::Neg); break;
    case 0x73: Modify(Ext(), &InstructionSet::Com); break;
    case 0x74: Modify(Ext(), &InstructionSet::Lsr); break;
    case 0x76: Modify(Ext(), &InstructionSet::Ror); break;
    case 0x77: Modify(Ext(), &InstructionSet::Asr); break;
    case 0x78: Modify(Ext(), &InstructionSet::Asl); break;
    case 0x79: Modify(Ext(), &InstructionSet::Rol); break;
    case 0x7A: Modify(Ext(), &InstructionSet::Dec); break;
    case 0x7C: Modify(Ext(), &InstructionSet::Inc); break;
    case 0x7D: Tst(Rd(Ext())); break;
    case 0x7E: R.PC = Ext(); break; // JMP
    case 0x7F: ModifyClr(Ext()); break;
    // $80-$8F immediate, accumulator A
    case 0x80: R.A = Sub(R.A, Imm8(), 0); break; // SUBA
    case 0x81: Sub(R.A, Imm8(), 0); break; // CMPA
    case 0x82: R.A = Sub(R.A, Imm8(), Carry()); break; // SBCA
    case 0x83: R.SetD(Sub16(R.D(), Imm16())); break; // SUBD
    case 0x84: R.A = Logic(R.A & Imm8()); break; // ANDA
    case 0x85: Logic(R.A & Imm8()); break; // BITA
    case 0x86: R.A = Logic(Imm8()); break; // LDAA
    case 0x88: R.A = Logic(R.A ^ Imm8()); break; // EORA
    case 0x89: R.A = Add(R.A, Imm8(), Carry()); break; // ADCA
    case 0x8A: R.A = Logic(R.A | Imm8()); break; // ORAA
    case 0x8B: R.A = Add(R.A, Imm8(), 0); break; // ADDA
    case 0x8C: Sub16(R.X, Imm16()); break; // CPX
    case 0x8D: Bsr(); break;
    case 0x8E: R.SP = Logic16(Imm16()); break; // LDS
    case 0x8F: Exchange(R.X); break; // XGDX
    // $90-$9F direct, accumulator A
    case 0x90: R.A = Sub(R.A, Rd(Dir()), 0); break;
    case 0x91: Sub(R.A, Rd(Dir()), 0); break;
    case 0x92: R.A = Sub(R.A, Rd(Dir()), Carry()); break;
    case 0x93: R.SetD(Sub16(R.D(), Rd16(Dir()))); break;
    case 0x94: R.A = Logic(R.A & Rd(Dir())); break;
    case 0x95: Logic(R.A & Rd(Dir())); break;
    case 0x96: R.A = Logic(Rd(Dir())); break;
    case 0x97: Store(Dir(), R.A); break; // STAA
    case 0x98: R.A = Logic(R.A ^ Rd(Dir())); break;
    case 0x99: R.A = Add(R.A, Rd(Dir()), Carry()); break;
    case 0x9A: R.A = Logic(R.A | Rd(Dir())); break;
    case 0x9B: R.A = Add(R.A, Rd(Dir()), 0); break;
    case 0x9C: Sub16(R.X, Rd16(Dir())); break;
    case 0x9D: Jsr(Dir()); break;
    case 0x9E: R.SP = Logic16(Rd16(Dir())); break;
    case 0x9F: Store16(Dir(), R.SP); break; // STS
    // $A0-$AF indexed by X, accumulator A
    case 0xA0: R.A = Sub(R.A, Rd(IdxX()), 0); break;
    case 0xA1: Sub(R.A, Rd(IdxX()), 0); break;
    case 0xA2: R.A = Sub(R.A, Rd(IdxX()), Carry()); break;
    case 0xA3: R.SetD(Sub16(R.D(), Rd16(IdxX()))); break;
    case 0xA4: R.A = Logic(R.A & Rd(IdxX())); break;
    case 0xA5: Logic(R.A & Rd(IdxX())); break;
    case 0xA6: R.A = Logic(Rd(IdxX())); break;
    case 0xA7: Store(IdxX(), R.A); break;
    case 0xA8: R.A = Logic(R.A ^ Rd(IdxX())); break;
    case 0xA9: R.A = Add(R.A, Rd(IdxX()), Carry()); break;
    case 0xAA: R.A = Logic(R.A | Rd(IdxX())); break;
    case 0xAB: R.A = Add(R.A, Rd(IdxX()), 0); break;
    case 0xAC: Sub16(R.X, Rd16(IdxX())); break;
    case 0xAD: Jsr(IdxX()); break;
    case 0xAE: R.SP = Logic16(Rd16(IdxX())); break;
    case 0xAF: Store16(IdxX(), R.SP); break;
    // $B0-$BF extended, accumulator A
    case 0xB0: R.A = Sub(R.A, Rd(Ext()), 0); break;
    case 0xB1: Sub(R.A, Rd(Ext()), 0); break;
    case 0xB2: R.A = Sub(R.A, Rd(Ext()), Carry()); break;
    case 0xB3: R.SetD(Sub16(R.D(), Rd16(Ext()))); break;
    case 0xB4: R.A = Logic(R.A & Rd(Ext())); break;
    case 0xB5: Logic(R.A & Rd(Ext())); break;
    case 0xB6: R.A = Logic(Rd(Ext())); break;
    case 0xB7: Store(Ext(), R.A); break;
    case 0xB8: R.A = Logic(R.A ^ Rd(Ext())); break;
    case 0xB9: R.A = Add(R.A, Rd(Ext()), Carry()); break;
    case 0xBA: R.A = Logic(R.A | Rd(Ext())); break;
    case 0xBB: R.A = Add(R.A, Rd(Ext()), 0); break;
    case 0xBC: Sub16(R.X, Rd16(Ext())); break;
    case 0xBD: Jsr(Ext()); break;
    case 0xBE: R.SP = Logic16(Rd16(Ext())); break;
    case 0xBF: Store16(Ext(), R.SP); break;
    // $C0-$CF immediate, accumulator B
    case 0xC0: R.B = Sub(R.B, Imm8(), 0); break; // SUBB
    case 0xC1: Sub(R.B, Imm8(), 0); break; // CMPB
    case 0xC2: R.B = Sub(R.B, Imm8(), Carry()); break; // SBCB
    case 0xC3: R.SetD(Add16(R.D(), Imm16())); break; // ADDD
    case 0xC4: R.B = Logic(R.B & Imm8()); break; // ANDB
    case 0xC5: Logic(R.B & Imm8()); break; // BITB
    case 0xC6: R.B = Logic(Imm8()); break; // LDAB
    case 0xC8: R.B = Logic(R.B ^ Imm8()); break; // EORB
    case 0xC9: R.B = Add(R.B, Imm8(), Carry()); break; // ADCB
    case 0xCA: R.B = Logic(R.B | Imm8()); break; // ORAB
    case 0xCB: R.B = Add(R.B, Imm8(), 0); break; // ADDB
    case 0xCC: R.SetD(Logic16(Imm16())); break; // LDD
    case 0xCD: ExecutePageCD(opcodeAddress); break;
    case 0xCE: R.X = Logic16(Imm16()); break; // LDX
    case 0xCF: M.Stop(); break;
    // $D0-$DF direct, accumulator B
    case 0xD0: R.B = Sub(R.B, Rd(Dir()), 0); break;
    case 0xD1: Sub(R.B, Rd(Dir()), 0); break;
    case 0xD2: R.B = Sub(R.B, Rd(Dir()), Carry()); break;
    case 0xD3: R.SetD(Add16(R.D(), Rd16(Dir()))); break;
    case 0xD4: R.B = Logic(R.B & Rd(Dir())); break;
    case 0xD5: Logic(R.B & Rd(Dir())); break;
    case 0xD6: R.B = Logic(Rd(Dir())); break;
    case 0xD7: Store(Dir(), R.B); break;
    case 0xD8: R.B = Logic(R.B ^ Rd(Dir())); break;
    case 0xD9: R.B = Add(R.B, Rd(Dir()), Carry()); break;
    case 0xDA: R.B = Logic(R.B | Rd(Dir())); break;
    case 0xDB: R.B = Add(R.B, Rd(Dir()), 0); break;
    case 0xDC: R.SetD(Logic16(Rd16(Dir()))); break;
    case 0xDD: Store16(Dir(), R.D()); break;
    case 0xDE: R.X = Logic16(Rd16(Dir())); break;
    case 0xDF: Store16(Dir(), R.X); break;
    // $E0-$EF indexed by X, accumulator B
    case 0xE0: R.B = Sub(R.B, Rd(IdxX()), 0); break;
    case 0xE1: Sub(R.B, Rd(IdxX()), 0); break;
    case 0xE2: R.B = Sub(R.B, Rd(IdxX()), Carry()); break;
    case 0xE3: R.SetD(Add16(R.D(), Rd16(IdxX()))); break;
    case 0xE4: R.B = Logic(R.B & Rd(IdxX())); break;
    case 0xE5: Logic(R.B & Rd(IdxX())); break;
    case 0xE6: R.B = Logic(Rd(IdxX())); break;
    case 0xE7: Store(IdxX(), R.B); break;
    case 0xE8: R.B = Logic(R.B ^ Rd(IdxX())); break;
    case 0xE9: R.B = Add(R.B, Rd(IdxX()), Carry()); break;
    case 0xEA: R.B = Logic(R.B | Rd(IdxX())); break;
    case 0xEB: R.B = Add(R.B, Rd(IdxX()), 0); break;
    case 0xEC: R.SetD(Logic16(Rd16(IdxX()))); break;
    case 0xED: Store16(IdxX(), R.D()); break;
    case 0xEE: R.X = Logic16(Rd16(IdxX())); break;
    case 0xEF: Store16(IdxX(), R.X); break;
    // $F0-$FF extended, accumulator B
    case 0xF0: R.B = Sub(R.B, Rd(Ext()), 0); break;
    case 0xF1: Sub(R.B, Rd(Ext()), 0); break;
    case 0xF2: R.B = Sub(R.B, Rd(Ext()), Carry()); break;
    case 0xF3: R.SetD(Add16(R.D(), Rd16(Ext()))); break;
    case 0xF4: R.B = Logic(R.B & Rd(Ext())); break;
    case 0xF5: Logic(R.B & Rd(Ext())); break;
    case 0xF6: R.B = Logic(Rd(Ext())); break;
    case 0xF7: Store(Ext(), R.B); break;
    case 0xF8: R.B = Logic(R.B ^ Rd(Ext())); break;
    case 0xF9: R.B = Add(R.B, Rd(Ext()), Carry()); break;
    case 0xFA: R.B = Logic(R.B | Rd(Ext())); break;
    case 0xFB: R.B = Add(R.B, Rd(Ext()), 0); break;
    case 0xFC: R.SetD(Logic16(Rd16(Ext()))); break;
    case 0xFD: Store16(Ext(), R.D()); break;
    case 0xFE: R.X = Logic16(Rd16(Ext())); break;
    case 0xFF: Store16(Ext(), R.X); break;
    default: M.IllegalOpcode(opcodeAddress, 1); break;
    }
    // clang-format on
}

// Prebyte $18: the instructions of Y, mostly the X instructions with Y in place of X.
void InstructionSet::ExecutePage18(uint16_t opcodeAddress) {
    const uint8_t opcode = M.Fetch8();
    M.CycleCount += OpcodeCycles[1][opcode];
    // clang-format off
    switch (opcode) {
    case 0x08: IndexIncrement(R.Y, 1); break; // INY
    case 0x09: IndexIncrement(R.Y, -1); break; // DEY
    case 0x1C: BitSet(IdxY()); break;
    case 0x1D: BitClear(IdxY()); break;
    case 0x1E: BranchIfSet(IdxY()); break;
    case 0x1F: BranchIfClear(IdxY()); break;
    case 0x30: R.Y = static_cast<uint16_t>(R.SP + 1); break; // TSY
    case 0x35: R.SP = static_cast<uint16_t>(R.Y - 1); break; // TYS
    case 0x38: R.Y = M.Pull16(); break; // PULY
    case 0x3A: R.Y = static_cast<uint16_t>(R.Y + R.B); break; // ABY
    case 0x3C: M.Push16(R.Y); break; // PSHY
    case 0x60: Modify(IdxY(), &InstructionSet::Neg); break;
    case 0x63: Modify(IdxY(), &InstructionSet::Com); break;
    case 0x64: Modify(IdxY(), &InstructionSet::Lsr); break;
    case 0x66: Modify(IdxY(), &InstructionSet::Ror); break;
    case 0x67: Modify(IdxY(), &InstructionSet::Asr); break;
    case 0x68: Modify(IdxY(), &InstructionSet::Asl); break;
    case 0x69: Modify(IdxY(), &InstructionSet::Rol); break;
    case 0x6A: Modify(IdxY(), &InstructionSet::Dec); break;
    case 0x6C: Modify(IdxY(), &InstructionSet::Inc); break;
    case 0x6D: Tst(Rd(IdxY())); break;
    case 0x6E: R.PC = IdxY(); break; // JMP
    case 0x6F: ModifyClr(IdxY()); break;
    case 0x8C: Sub16(R.Y, Imm16()); break; // CPY
    case 0x8F: Exchange(R.Y); break; // XGDY
    case 0x9C: Sub16(R.Y, Rd16(Dir())); break;
    case 0xA0: R.A = Sub(R.A, Rd(IdxY()), 0); break;
    case 0xA1: Sub(R.A, Rd(IdxY()), 0); break;
    case 0xA2: R.A = Sub(R.A, Rd(IdxY()), Carry()); break;
    case 0xA3: R.SetD(Sub16(R.D(), Rd16(IdxY()))); break;
    case 0xA4: R.A = Logic(R.A & Rd(IdxY())); break;
    case 0xA5: Logic(R.A & Rd(IdxY())); break;
    case 0xA6: R.A = Logic(Rd(IdxY())); break;
    case 0xA7: Store(IdxY(), R.A); break;
    case 0xA8: R.A = Logic(R.A ^ Rd(IdxY())); break;
    case 0xA9: R.A = Add(R.A, Rd(IdxY()), Carry()); break;
    case 0xAA: R.A = Logic(R.A | Rd(IdxY())); break;
    case 0xAB: R.A = Add(R.A, Rd(IdxY()), 0); break;
    case 0xAC: Sub16(R.Y, Rd16(IdxY())); break;
    case 0xAD: Jsr(IdxY()); break;
    case 0xAE: R.SP = Logic16(Rd16(IdxY())); break;
    case 0xAF: Store16(IdxY(), R.SP); break;
    case 0xBC: Sub16(R.Y, Rd16(Ext())); break;
    case 0xCE: R.Y = Logic16(Imm16()); break; // LDY
    case 0xDE: R.Y = Logic16(Rd16(Dir())); break;
    case 0xDF: Store16(Dir(), R.Y); break; // STY
    case 0xE0: R.B = Sub(R.B, Rd(IdxY()), 0); break;
    case 0xE1: Sub(R.B, Rd(IdxY()), 0); break;
    case 0xE2: R.B = Sub(R.B, Rd(IdxY()), Carry()); break;
    case 0xE3: R.SetD(Add16(R.D(), Rd16(IdxY()))); break;
    case 0xE4: R.B = Logic(R.B & Rd(IdxY())); break;
    case 0xE5: Logic(R.B & Rd(IdxY())); break;
    case 0xE6: R.B = Logic(Rd(IdxY())); break;
    case 0xE7: Store(IdxY(), R.B); break;
    case 0xE8: R.B = Logic(R.B ^ Rd(IdxY())); break;
    case 0xE9: R.B = Add(R.B, Rd(IdxY()), Carry()); break;
    case 0xEA: R.B = Logic(R.B | Rd(IdxY())); break;
    case 0xEB: R.B = Add(R.B, Rd(IdxY()), 0); break;
    case 0xEC: R.SetD(Logic16(Rd16(IdxY()))); break;
    case 0xED: Store16(IdxY(), R.D()); break;
    case 0xEE: R.Y = Logic16(Rd16(IdxY())); break;
    case 0xEF: Store16(IdxY(), R.Y); break;
    case 0xFE: R.Y = Logic16(Rd16(Ext())); break;
    case 0xFF: Store16(Ext(), R.Y); break;
    default: M.IllegalOpcode(opcodeAddress, 2); break;
    }
    // clang-format on
}

// Prebyte $1A: CPD, and CPY, LDY, STY indexed by X.
void InstructionSet::ExecutePage1A(uint16_t opcodeAddress) {
    const uint8_t opcode = M.Fetch8();
    M.CycleCount += OpcodeCycles[2][opcode];
    // clang-format off
    switch (opcode) {
    case 0x83: Sub16(R.D(), Imm16()); break; // CPD
    case 0x93: Sub16(R.D(), Rd16(Dir())); break;
    case 0xA3: Sub16(R.D(), Rd16(IdxX())); break;
    case 0xAC: Sub16(R.Y, Rd16(IdxX())); break; // CPY
    case 0xB3: Sub16(R.D(), Rd16(Ext())); break;
    case 0xEE: R.Y = Logic16(Rd16(IdxX())); break; // LDY
    case 0xEF: Store16(IdxX(), R.Y); break; // STY
    default: M.IllegalOpcode(opcodeAddress, 2); break;
    }
    // clang-format on
}

// Prebyte $CD: CPD, CPX, LDX, STX indexed by Y.
void InstructionSet::ExecutePageCD(uint16_t opcodeAddress) {
    const uint8_t opcode = M.Fetch8();
    M.CycleCount += OpcodeCycles[3][opcode];
    // clang-format off
    switch (opcode) {
    case 0xA3: Sub16(R.D(), Rd16(IdxY())); break; // CPD
    case 0xAC: Sub16(R.X, Rd16(IdxY())); break; // CPX
    case 0xEE: R.X = Logic16(Rd16(IdxY())); break; // LDX
    case 0xEF: Store16(IdxY(), R.X); break; // STX
    default: M.IllegalOpcode(opcodeAddress, 2); break;
    }
    // clang-format on
}

void HC11Machine::Execute() {
    InstructionSet(*this).Execute();
}

void HC11Machine::ExecuteUntilAttention() {
    InstructionSet instructions(*this);
    while (CycleCount < RunLimit) {
        instructions.Execute();
        if (StopMap[Cpu.PC]) [[unlikely]]
            break;
    }
}

} // namespace corvid
