#pragma once

// One run of the assembler over a token list: the two passes, the statement loop, the
// directives, the expression evaluator, the instruction encoders and the output side. Private
// to the assembler library.

#include "assembler/hc11_assembler.h"
#include "assembler/s19_output.h"
#include "assembler/token_stream.h"

#include <string>
#include <vector>

namespace corvid {

class TAssembly {
public:
    TAssembly(THC11Assembler& assembler, TAsmTokenStream& tokens, const TAsmMessageEvent& onMessage,
              const TAsmInfoEvent& onInfo);

    // Runs pass 1 and pass 2. Raises EAssembleError at the first error; any other exception
    // is an internal failure.
    void RunPasses();

    bool Success = true;
    TS19Records Records;

    void SendListingHeader();
    // The last pending listing line, the end-of-code mark and the label section.
    void SendListingTrailer();

private:
    THC11Assembler& Assembler;
    TAsmTokenStream& Tokens;
    const TAsmMessageEvent& OnMessage;
    const TAsmInfoEvent& OnInfo;

    // Token reading.
    const TAsmToken EndToken{0, tkEnd, 0, 0, 0, ""};
    const TAsmToken* Current = &EndToken;
    int Index = 0;

    // Pass state.
    int PassNumber = 1;
    int PC = 0;
    bool AddressKnown = true;
    int StatementStart = 0;
    TAsmLabel* CurrentLabel = nullptr;
    int LabelsDefined = 0; // in this pass
    bool ForwardReference = false;
    std::vector<bool> ForcedExtended; // per token position, grown as the positions come

    // The listing line of the statement being assembled; built only for a listener.
    std::string PendingText;
    int PendingLine = -1;

    // Token primitives, inline: every statement calls them many times.
    bool Next() {
        const TAsmToken* token = Tokens.At(Index++);
        Current = token ? token : &EndToken;
        if (token && token->Kind == tkBadInput)
            RaiseInvalidData();
        return token != nullptr;
    }
    void Expect() {
        if (!Next())
            Raise("Error:Unexpected EOF");
    }
    void Back() {
        Index -= 2;
        if (Index < 0)
            Raise("EVIL:Internal Assembler Error parse underflow");
        Next();
    }
    // A read has gone past the last token and nothing gave it back.
    bool PastTheEnd() const { return Tokens.Finished() && Index > Tokens.Count(); }
    // The source line a listing line belongs to: at the end of the input, the last token's.
    int ListingLine() const;
    std::string_view Text() const { return Current->Text(); }
    bool IsSymbol(int id) const { return Current->Kind == tkSymbol && Current->Id == id; }
    bool IsReserved(int id) const { return Current->Kind == tkReserved && Current->Id == id; }

    // Messages.
    [[noreturn]] void Raise(const std::string& message);
    [[noreturn]] void RaiseInvalidData();
    void Report(const std::string& message, int kind);
    void Warn(const std::string& message) { Report(message, AsmWarning); }

    // The statement loop.
    void Pass(int passNumber);
    bool Statement(); // false at END
    void EndOfStatement();
    void DefineLabel();
    void InstructionStatement();

    // Directives.
    void Directive(int id);
    void Org();
    void Equ(TAsmLabel* label);
    int ByteItems();
    int WordItems();
    int ReserveBytes();
    void MarkDataLabel(int count, int kind);

    // Expressions.
    int Expr();
    // An expression whose value must be known by pass 2.
    int ResolvedExpr();
    int Term();
    int NameValue();
    int Combine(int symbol, int left, int right);

    // Instructions.
    void Encode(const TIns& ins);
    void EncodeIDEXY(const TInsIDEXY& ins);
    void EncodeDEXY(const TInsDEXY& ins);
    void EncodeEXY(const TInsEXY& ins);
    void EncodeDXY(const TInsDXY& ins, bool withBranch);
    void AddressOperand(uint16_t opDirect, uint16_t opExtended, uint16_t opIndexedX,
                        uint16_t opIndexedY);
    // "X" or "Y" after the comma that is the current token: the indexed opcode and the offset.
    void IndexedOperand(uint16_t opIndexedX, uint16_t opIndexedY, int offset);
    // Reads the token after an operand value. A comma makes the operand indexed, which this
    // then emits; anything else is given back (at the end of the input nothing is).
    bool IndexedAfterValue(int value, uint16_t opIndexedX, uint16_t opIndexedY);
    // A 16-bit address operand that chooses between direct and extended addressing.
    void DirectOrExtended(uint16_t opDirect, uint16_t opExtended, int value, bool forced);
    void Mask();
    void BranchTarget();

    // Output.
    void EmitOpcode(uint16_t opcode);
    // Inline: every byte of both passes comes through here.
    void EmitByte(int value) {
        if (PassNumber == 1) {
            PC = static_cast<int>(static_cast<uint32_t>(PC) + 1);
            return;
        }
        if (OnInfo)
            AppendListingByte(value);
        if (!AddressKnown || PC < 0 || PC > 0xFFFF)
            RaiseUnplaceableByte();
        Records.Emit(PC, static_cast<uint8_t>(value & 0xFF));
        ++PC;
    }
    // The PC is unknown or outside the address space.
    [[noreturn]] void RaiseUnplaceableByte();
    void EmitWord(int value) {
        EmitByte((value >> 8) & 0xFF);
        EmitByte(value & 0xFF);
    }
    void OpenListingLine();
    // " XX": one emitted byte.
    void AppendListingByte(int value);
    void FlushListing();
    void SendListing(int line, std::string_view text);
};

} // namespace corvid
