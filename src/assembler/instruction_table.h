#pragma once

#include "foundation/object_list.h"

#include <cstdint>

namespace corvid {

// How an instruction's operand is written, and which addressing modes it has.
enum class TInsClass {
    IDEXY,     // #e, e, >e, e,X, e,Y, ,X, ,Y
    DEXY,      // as IDEXY without the immediate mode
    EXY,       // extended or indexed only
    DXY,       // bit operations: address then mask
    DXYBranch, // address, mask and branch target
    Rel,       // relative branches
    Inh,       // no operand
};

// One mnemonic of the instruction set. An opcode above $FF carries a prebyte ($18, $1A or
// $CD) in its high byte; both bytes are emitted, prebyte first.
struct TIns {
    TIns(int mnemonic, TInsClass insClass) : Mnemonic(mnemonic), Class(insClass) {}
    virtual ~TIns() = default;
    int Mnemonic; // Id of the mnemonic's reserved word
    TInsClass Class;
};

struct TInsIDEXY : TIns {
    // dataSize is 1 or 2: the bytes of an immediate operand.
    TInsIDEXY(int mnemonic, int dataSize, uint16_t opImmediate, uint16_t opDirect,
              uint16_t opExtended, uint16_t opIndexedX, uint16_t opIndexedY);
    int DataSize;
    uint16_t OpImmediate, OpDirect, OpExtended, OpIndexedX, OpIndexedY;
};

struct TInsDEXY : TIns {
    TInsDEXY(int mnemonic, uint16_t opDirect, uint16_t opExtended, uint16_t opIndexedX,
             uint16_t opIndexedY)
        : TIns(mnemonic, TInsClass::DEXY), OpDirect(opDirect), OpExtended(opExtended),
          OpIndexedX(opIndexedX), OpIndexedY(opIndexedY) {}
    uint16_t OpDirect, OpExtended, OpIndexedX, OpIndexedY;
};

struct TInsEXY : TIns {
    TInsEXY(int mnemonic, uint16_t opExtended, uint16_t opIndexedX, uint16_t opIndexedY)
        : TIns(mnemonic, TInsClass::EXY), OpExtended(opExtended), OpIndexedX(opIndexedX),
          OpIndexedY(opIndexedY) {}
    uint16_t OpExtended, OpIndexedX, OpIndexedY;
};

// Direct, indexed X and indexed Y opcodes of the bit instructions, with or without a branch.
struct TInsDXY : TIns {
    TInsDXY(int mnemonic, uint16_t opDirect, uint16_t opIndexedX, uint16_t opIndexedY)
        : TInsDXY(mnemonic, TInsClass::DXY, opDirect, opIndexedX, opIndexedY) {}
    uint16_t OpDirect, OpIndexedX, OpIndexedY;

protected:
    TInsDXY(int mnemonic, TInsClass insClass, uint16_t opDirect, uint16_t opIndexedX,
            uint16_t opIndexedY)
        : TIns(mnemonic, insClass), OpDirect(opDirect), OpIndexedX(opIndexedX),
          OpIndexedY(opIndexedY) {}
};

struct TInsDXYBranch : TInsDXY {
    TInsDXYBranch(int mnemonic, uint16_t opDirect, uint16_t opIndexedX, uint16_t opIndexedY)
        : TInsDXY(mnemonic, TInsClass::DXYBranch, opDirect, opIndexedX, opIndexedY) {}
};

struct TInsRel : TIns {
    TInsRel(int mnemonic, uint16_t opcode) : TIns(mnemonic, TInsClass::Rel), Opcode(opcode) {}
    uint16_t Opcode;
};

struct TInsInh : TIns {
    TInsInh(int mnemonic, uint16_t opcode) : TIns(mnemonic, TInsClass::Inh), Opcode(opcode) {}
    uint16_t Opcode;
};

// Fills the list with one entry per mnemonic of the 68HC11, sorted by mnemonic Id.
void FillInstructionTable(TObjectList<TIns>& instructions);

// The entry for a mnemonic Id; none for a word that is no instruction.
const TIns* FindInstruction(const TObjectList<TIns>& instructions, int mnemonic);

} // namespace corvid
