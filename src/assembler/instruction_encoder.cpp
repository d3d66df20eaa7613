// Operands and opcodes. An address operand whose value is unknown in pass 1 is assembled
// extended and remembered by the position of the token after it, so that pass 2 gives the
// statement the same size even when the value turns out to fit in one byte.

#include "assembler/assembly.h"

#include "parsing/asm_tokens.h"

#include <algorithm>

namespace corvid {

namespace {

bool FitsByte(int value) {
    return value >= 0 && value <= 0xFF;
}
bool FitsWord(int value) {
    return value >= 0 && value <= 0xFFFF;
}

} // namespace

void TAssembly::Encode(const TIns& ins) {
    switch (ins.Class) {
    case TInsClass::IDEXY:
        EncodeIDEXY(static_cast<const TInsIDEXY&>(ins));
        return;
    case TInsClass::DEXY:
        EncodeDEXY(static_cast<const TInsDEXY&>(ins));
        return;
    case TInsClass::EXY:
        EncodeEXY(static_cast<const TInsEXY&>(ins));
        return;
    case TInsClass::DXY:
        EncodeDXY(static_cast<const TInsDXY&>(ins), false);
        return;
    case TInsClass::DXYBranch:
        EncodeDXY(static_cast<const TInsDXY&>(ins), true);
        return;
    case TInsClass::Rel:
        EmitOpcode(static_cast<const TInsRel&>(ins).Opcode);
        BranchTarget();
        return;
    case TInsClass::Inh:
        EmitOpcode(static_cast<const TInsInh&>(ins).Opcode);
        return;
    }
    Raise("Unsupported:Addressing mode not supported yet");
}

// ",X" or ",Y" with no offset, the comma being the current token.
void TAssembly::IndexedOperand(uint16_t opIndexedX, uint16_t opIndexedY, int offset) {
    Expect();
    if (IsReserved(AsmRegisterX))
        EmitOpcode(opIndexedX);
    else if (IsReserved(AsmRegisterY))
        EmitOpcode(opIndexedY);
    else
        Raise("Error:Invalid indexed addressing mode");
    EmitByte(offset);
}

bool TAssembly::IndexedAfterValue(int value, uint16_t opIndexedX, uint16_t opIndexedY) {
    const bool available = Next();
    if (available && IsSymbol(AsmSymbolComma)) {
        if (!FitsByte(value))
            Warn("Warning:Indexed addressing overflow/underflow");
        IndexedOperand(opIndexedX, opIndexedY, value);
        return true;
    }
    if (available)
        Back();
    return false;
}

void TAssembly::EncodeIDEXY(const TInsIDEXY& ins) {
    Expect();
    if (!IsSymbol(AsmSymbolHash)) {
        Back();
        AddressOperand(ins.OpDirect, ins.OpExtended, ins.OpIndexedX, ins.OpIndexedY);
        return;
    }
    EmitOpcode(ins.OpImmediate);
    const int value = ResolvedExpr();
    if (ins.DataSize == 1) {
        if (!FitsByte(value))
            Warn("Warning:Immediate value overflow/underflow");
        EmitByte(value);
    } else {
        if (!FitsWord(value))
            Warn("Warning:Immediate value overflow/underflow");
        EmitWord(value);
    }
}

void TAssembly::EncodeDEXY(const TInsDEXY& ins) {
    AddressOperand(ins.OpDirect, ins.OpExtended, ins.OpIndexedX, ins.OpIndexedY);
}

// ",X", ",Y", e",X", e",Y", ">"e or e, the operand starting after the current token.
void TAssembly::AddressOperand(uint16_t opDirect, uint16_t opExtended, uint16_t opIndexedX,
                               uint16_t opIndexedY) {
    Expect();
    if (IsSymbol(AsmSymbolComma)) {
        IndexedOperand(opIndexedX, opIndexedY, 0);
        return;
    }
    const bool forced = IsSymbol(AsmSymbolGreater);
    if (!forced)
        Back();
    const int value = ResolvedExpr();
    if (!IndexedAfterValue(value, opIndexedX, opIndexedY))
        DirectOrExtended(opDirect, opExtended, value, forced);
}

void TAssembly::DirectOrExtended(uint16_t opDirect, uint16_t opExtended, int value, bool forced) {
    const size_t position = static_cast<size_t>(Index);
    if (ForcedExtended.size() <= position)
        ForcedExtended.resize(std::max(position + 1, 2 * ForcedExtended.size()), false);
    if (ForwardReference) {
        value = 0x100;
        ForcedExtended[position] = true;
    }
    if (!FitsWord(value))
        Warn("Warning:Extended addressing overflow/underflow");
    const bool remembered = ForcedExtended[position];
    if (value <= 0xFF && !remembered && !forced) {
        EmitOpcode(opDirect);
        EmitByte(value);
        return;
    }
    if (value < 0x100 && remembered && !forced)
        Report("Hint:Extended addressing used for short address", AsmHint);
    EmitOpcode(opExtended);
    EmitWord(value);
}

void TAssembly::EncodeEXY(const TInsEXY& ins) {
    Expect();
    if (IsSymbol(AsmSymbolComma)) {
        IndexedOperand(ins.OpIndexedX, ins.OpIndexedY, 0);
        return;
    }
    Back();
    const int value = ResolvedExpr();
    if (IndexedAfterValue(value, ins.OpIndexedX, ins.OpIndexedY))
        return;
    if (!FitsWord(value))
        Warn("Warning:Extended addressing overflow/underflow");
    EmitOpcode(ins.OpExtended);
    EmitWord(value);
}

void TAssembly::EncodeDXY(const TInsDXY& ins, bool withBranch) {
    Expect();
    if (IsSymbol(AsmSymbolComma)) {
        IndexedOperand(ins.OpIndexedX, ins.OpIndexedY, 0);
    } else {
        Back();
        const int value = ResolvedExpr();
        if (!IndexedAfterValue(value, ins.OpIndexedX, ins.OpIndexedY)) {
            if (!FitsByte(value))
                Warn("Warning:Direct addressing overflow/underflow");
            EmitOpcode(ins.OpDirect);
            EmitByte(value);
        }
    }
    Mask();
    if (withBranch)
        BranchTarget();
}

void TAssembly::Mask() {
    EmitByte(ResolvedExpr());
}

void TAssembly::BranchTarget() {
    Expect();
    if (!IsSymbol(AsmSymbolHash))
        Back();
    const int target = Expr();
    if (PassNumber == 1) {
        EmitByte(0);
        return;
    }
    if (!AddressKnown)
        Raise("Error:Address unknown at branch");
    if (ForwardReference)
        Raise("Error:Phasing error");
    const int64_t offset = static_cast<int64_t>(target) - (static_cast<int64_t>(PC) + 1);
    if (offset < -128 || offset > 127)
        Raise("Error:Branch address too far");
    EmitByte(static_cast<int>(offset));
}

} // namespace corvid
