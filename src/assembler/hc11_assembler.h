#pragma once

#include "assembler/instruction_table.h"
#include "foundation/case_fold.h"
#include "foundation/errors.h"
#include "foundation/object_list.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

class TEditorFileParser;

// One name defined by the source: a label (an address) or an EQU name (a value).
struct TAsmLabel {
    std::string Name; // as written; names compare case-insensitively
    bool AddressKnown = false;
    bool HasValue = false;  // an EQU gave it a value that could be resolved
    bool IsAddress = false; // true after the definition, false once an EQU assigns it
    bool IsData = false;    // the first statement after the label was a data directive
    int Address = 0;
    int Value = 0;
    int DataCount = 0; // items of that first data directive (bytes, or words for FDB)
    int DataKind = 0;  // 0 nothing yet, -1 an instruction, 1 byte data, 2 word data
};

// Message kinds.
inline constexpr int AsmError = 0;
inline constexpr int AsmWarning = 1; // also the internal-failure message
inline constexpr int AsmHint = 2;

// Information kinds.
inline constexpr int AsmInfoInstruction = 1; // Line: the source line; Address: its PC
inline constexpr int AsmInfoLabel = 3;       // Label: one label, after both passes
inline constexpr int AsmInfoListing = 4;     // Line: source line or -1; Text: a listing line
inline constexpr int AsmInfoEndOfCode = 5;   // after the last code line of the listing

struct TAsmInfoData {
    int Address = 0;
    const TAsmLabel* Label = nullptr;
    std::string_view Text;
};

// Line, Column and Length locate the offending token (1-based); all 0 without one.
using TAsmMessageEvent =
    std::function<void(const std::string& message, int kind, int line, int column, int length)>;
using TAsmInfoEvent = std::function<void(int kind, int line, const TAsmInfoData& data)>;

// The first error of an assembly; it never leaves the assembler.
class EAssembleError : public Error {
public:
    EAssembleError(const std::string& message, int line, int column, int length)
        : Error(message), Kind(AsmError), Length(length), Line(line), Column(column) {}
    int Kind;
    int Length;
    int Line;
    int Column;
};

// The 68HC11 two-pass cross assembler. One instance lives as long as the IDE; the labels and
// the entry address of the last assembly stay readable for the debugger.
class THC11Assembler {
public:
    THC11Assembler();

    // Every name of the last assembly, in definition order.
    const TObjectList<TAsmLabel>& Labels() const { return LabelList; }
    // Sorted by mnemonic Id.
    TObjectList<TIns> Instructions;
    // Treats everything after a complete statement on its line as a comment, and skips
    // characters that no token starts with, as Motorola's own assemblers do.
    bool CompatibilityMode = false;
    // The location counter of the first instruction of the last assembly; -1 when none.
    int EntryAddress = -1;

    // Assembles the parser's source document, as the editor holds it, and writes the S19 file,
    // replacing an old one only once the new one is complete. The source is scanned with the
    // assembly scanner, which gives the tokens of the assembly recognisers. Returns true when
    // no error was raised; warnings and hints leave it true, an internal failure makes it
    // false. A file that cannot be written raises out of here.
    bool Assemble(TEditorFileParser& parser, const std::string& outputFileName,
                  const TAsmMessageEvent& onMessage, const TAsmInfoEvent& onInfo);

    // The label with this name, case-insensitively; none when undefined.
    TAsmLabel* FindLabel(std::string_view name) const;
    // The instruction of a mnemonic Id; none for other words.
    const TIns* InstructionFor(int id) const {
        return id >= 0 && id < static_cast<int>(InstructionById.size()) ? InstructionById[id]
                                                                        : nullptr;
    }

private:
    friend class TAssembly;

    TObjectList<TAsmLabel> LabelList;
    // Instructions indexed by mnemonic Id: the same entries a binary search finds, at once.
    std::vector<const TIns*> InstructionById;
    // An open-addressing index of LabelList by name, names compared case-insensitively. A slot
    // keeps the hash of its label's name beside the label's index, so that a probe reads no
    // label but the one it finds.
    struct TLabelSlot {
        uint32_t Hash = 0;
        int32_t Index = -1; // -1: empty
    };
    std::vector<TLabelSlot> LabelSlots;

    static uint32_t LabelHash(std::string_view name);
    // Names written alike are the common case: the plain comparison settles them.
    static bool SameName(std::string_view a, std::string_view b) {
        return a == b || SameText(a, b);
    }
    // The index in LabelList of the label with this name; -1 when undefined.
    int FindLabelIndex(std::string_view name, uint32_t hash) const;
    TAsmLabel& AddLabel(std::string_view name, uint32_t hash);
    void ClearLabels();
    void InsertIntoIndex(TLabelSlot entry);
};

} // namespace corvid
