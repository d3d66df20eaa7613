#include "assembler/assembly.h"

#include "foundation/number_text.h"
#include "foundation/text_fields.h"
#include "parsing/asm_tokens.h"

namespace corvid {

namespace {

constexpr int LabelColumnWidth = 30;

std::string LabelListingLine(const TAsmLabel& label) {
    std::string line = PadRight(label.Name, LabelColumnWidth);
    if (label.HasValue && !label.IsAddress && !label.IsData)
        return line + " Value:" + IntToHexStr(label.Value, 4);
    line += " Addr:" + IntToHexStr(label.Address, 4);
    if (label.HasValue)
        line += " Value:" + IntToHexStr(label.Value, 4);
    return line;
}

} // namespace

TAssembly::TAssembly(THC11Assembler& assembler, TAsmTokenStream& tokens,
                     const TAsmMessageEvent& onMessage, const TAsmInfoEvent& onInfo)
    : Assembler(assembler), Tokens(tokens), OnMessage(onMessage), OnInfo(onInfo) {}

// ---- token reading ------------------------------------------------------------------------

// The end-of-input token has no line; a statement whose operand ends the file is listed on
// the line of its last token, so that its code stays beside its source.
int TAssembly::ListingLine() const {
    if (Current == &EndToken && Tokens.Count() > 0)
        return Tokens.Last().Line;
    return Current->Line;
}

void TAssembly::RaiseInvalidData() {
    Raise("Error:Invalid data in file \"" + std::string(Text()) + "\"");
}

// ---- messages -----------------------------------------------------------------------------

void TAssembly::Raise(const std::string& message) {
    const TAsmToken* token = Current;
    if (token == &EndToken && Tokens.Count() > 0)
        token = &Tokens.Last();
    Success = false;
    if (token == &EndToken)
        throw EAssembleError(message, 0, 0, 0);
    throw EAssembleError(message, token->Line, token->Column, token->Length);
}

void TAssembly::Report(const std::string& message, int kind) {
    if (PassNumber != 2 || !OnMessage)
        return;
    if (Current == &EndToken)
        OnMessage(message, kind, 0, 0, 0);
    else
        OnMessage(message, kind, Current->Line, Current->Column, Current->Length);
}

// ---- passes and statements ----------------------------------------------------------------

void TAssembly::RunPasses() {
    Pass(1);
    Pass(2);
}

void TAssembly::Pass(int passNumber) {
    PassNumber = passNumber;
    Tokens.Restart();
    PC = 0;
    AddressKnown = true;
    Index = 0;
    CurrentLabel = nullptr;
    LabelsDefined = 0;
    Expect();
    do {
        StatementStart = PC;
        if (!Statement())
            return;
    } while (!PastTheEnd());
}

// Assembles the statement that starts with the current token; false when it was END.
bool TAssembly::Statement() {
    const int kind = Current->Kind;
    const int id = Current->Id;
    if (kind == tkReserved && id >= AsmDirectiveOrg && id <= AsmDirectiveEnd) {
        if (id == AsmDirectiveEnd)
            return false;
        Directive(id);
    } else if (kind == tkReserved) {
        InstructionStatement();
    } else if (kind == tkLabel) {
        DefineLabel();
        Next();
        if (IsSymbol(AsmSymbolColon))
            Next();
        if (!IsReserved(AsmDirectiveEqu))
            return true; // the current token starts the next statement
        Equ(CurrentLabel);
    } else {
        Raise("Error:Expected label or instruction");
    }
    EndOfStatement();
    return true;
}

// By default statements are delimited by tokens; in compatibility mode the rest of the line
// after a complete statement is a comment.
void TAssembly::EndOfStatement() {
    if (!Assembler.CompatibilityMode) {
        Next();
        return;
    }
    const int line = Current->Line;
    while (Next() && Current->Line <= line) {
    }
}

void TAssembly::DefineLabel() {
    const std::string_view name = Text();
    TAsmLabel* label = nullptr;
    if (PassNumber == 1) {
        const uint32_t hash = THC11Assembler::LabelHash(name);
        if (Assembler.FindLabelIndex(name, hash) >= 0)
            Raise("Error:Label redeclared");
        label = &Assembler.AddLabel(name, hash);
        label->IsAddress = true;
        label->Address = PC;
        label->AddressKnown = AddressKnown;
    } else {
        // Pass 2 meets the definitions in the order pass 1 made the labels, so the label is
        // at hand without a look-up.
        const TObjectList<TAsmLabel>& labels = Assembler.Labels();
        if (LabelsDefined < labels.Count() &&
            THC11Assembler::SameName(labels[LabelsDefined]->Name, name))
            label = labels[LabelsDefined];
        else
            label = Assembler.FindLabel(name);
        if (!label)
            Raise("EVIL:Internal Assembler Error label table corrupt");
        if (!label->AddressKnown)
            label->Address = PC;
    }
    ++LabelsDefined;
    CurrentLabel = label;
}

void TAssembly::InstructionStatement() {
    if (CurrentLabel && CurrentLabel->DataKind == 0)
        CurrentLabel->DataKind = -1;
    if (PassNumber == 2 && OnInfo)
        OnInfo(AsmInfoInstruction, Current->Line, TAsmInfoData{PC, nullptr, {}});
    if (PassNumber == 1 && Assembler.EntryAddress < 0)
        Assembler.EntryAddress = PC;
    const TIns* ins = Assembler.InstructionFor(Current->Id);
    if (!ins)
        Raise("Unsupported:Instruction not supported yet");
    Encode(*ins);
}

// ---- directives ---------------------------------------------------------------------------

void TAssembly::Directive(int id) {
    switch (id) {
    case AsmDirectiveOrg:
        Org();
        return;
    case AsmDirectiveEqu:
        Equ(nullptr);
        return;
    case AsmDirectiveFcb:
    case AsmDirectiveFcc:
        MarkDataLabel(ByteItems(), 1);
        return;
    case AsmDirectiveFdb:
        MarkDataLabel(WordItems(), 2);
        return;
    case AsmDirectiveRmb:
        MarkDataLabel(ReserveBytes(), 1);
        return;
    }
}

void TAssembly::Org() {
    PC = ResolvedExpr();
    AddressKnown = !ForwardReference;
}

void TAssembly::Equ(TAsmLabel* label) {
    const int value = ResolvedExpr();
    if (!label) {
        Warn("Warning:EQU with no label");
        return;
    }
    label->Value = value;
    label->IsAddress = false;
    label->HasValue = !ForwardReference;
}

int TAssembly::ByteItems() {
    if (PassNumber == 2)
        OpenListingLine();
    int count = 0;
    do {
        Next();
        if (Current->Kind == tkString) {
            for (const char c : Text()) {
                EmitByte(static_cast<unsigned char>(c));
                ++count;
            }
        } else {
            Back();
            EmitByte(ResolvedExpr());
            ++count;
        }
        Next();
    } while (IsSymbol(AsmSymbolComma));
    Back();
    return count;
}

int TAssembly::WordItems() {
    if (PassNumber == 2)
        OpenListingLine();
    int count = 0;
    do {
        EmitWord(ResolvedExpr());
        ++count;
        Next();
    } while (IsSymbol(AsmSymbolComma));
    Back();
    return count;
}

int TAssembly::ReserveBytes() {
    if (PassNumber == 2)
        OpenListingLine();
    const int size = ResolvedExpr();
    if (ForwardReference) {
        AddressKnown = false;
        return 0;
    }
    if (size < 1)
        Warn("Warning:RMB of size zero or less");
    PC = static_cast<int>(static_cast<uint32_t>(PC) + static_cast<uint32_t>(size));
    return size;
}

void TAssembly::MarkDataLabel(int count, int kind) {
    if (!CurrentLabel || CurrentLabel->DataKind != 0)
        return;
    CurrentLabel->IsData = true;
    CurrentLabel->DataCount = count;
    CurrentLabel->DataKind = kind;
}

// ---- output -------------------------------------------------------------------------------

void TAssembly::EmitOpcode(uint16_t opcode) {
    if (PassNumber == 2)
        OpenListingLine();
    if (opcode > 0xFF)
        EmitByte(opcode >> 8);
    EmitByte(opcode & 0xFF);
}

void TAssembly::RaiseUnplaceableByte() {
    if (!AddressKnown)
        Raise("EVIL:Internal Assembler Error address unknown at output");
    Raise("Error:Address out of range");
}

void TAssembly::OpenListingLine() {
    if (!OnInfo)
        return;
    FlushListing();
    PendingText = "Addr:";
    if (PC >= 0 && PC <= 0xFFFF)
        AppendHex(PendingText, static_cast<uint32_t>(PC), 4);
    else
        PendingText += IntToHexStr(PC, 4);
    PendingText += " Op:";
    PendingLine = ListingLine();
}

void TAssembly::AppendListingByte(int value) {
    PendingText += ' ';
    AppendHex(PendingText, static_cast<uint32_t>(value), 2);
    if (PendingLine == -1)
        PendingLine = ListingLine();
}

void TAssembly::FlushListing() {
    SendListing(PendingLine, PendingText);
    PendingText.clear();
    PendingLine = -1;
}

void TAssembly::SendListing(int line, std::string_view text) {
    if (OnInfo)
        OnInfo(AsmInfoListing, line, TAsmInfoData{0, nullptr, text});
}

void TAssembly::SendListingHeader() {
    if (!OnInfo)
        return;
    SendListing(-1, "");
    SendListing(-1, "**********************************   Code   "
                    "**********************************");
}

void TAssembly::SendListingTrailer() {
    if (!OnInfo)
        return;
    FlushListing();
    OnInfo(AsmInfoEndOfCode, 0, TAsmInfoData{});
    SendListing(-1, "");
    SendListing(-1, "**********************************  Labels  "
                    "**********************************");
    SendListing(-1, "");
    for (const TAsmLabel* label : Assembler.Labels())
        SendListing(-1, LabelListingLine(*label));
}

} // namespace corvid
