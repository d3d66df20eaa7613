#include "assembler/hc11_assembler.h"

#include "assembler/assembly.h"
#include "assembler/token_stream.h"
#include "editor/editor_file_parser.h"
#include "editor/text_editor_file.h"
#include "foundation/case_fold.h"
#include "foundation/file_stream.h"
#include "parsing/asm_scanner.h"
#include "parsing/asm_tokens.h"

#include <algorithm>
#include <bit>

namespace corvid {

namespace {

constexpr int S19BufferSize = 256;

void WriteS19File(const std::string& fileName, const TS19Records& records) {
    TSafeFileWriter writer(fileName, S19BufferSize);
    records.WriteTo(writer.Stream());
    writer.Commit();
}

} // namespace

THC11Assembler::THC11Assembler() {
    FillInstructionTable(Instructions);
    InstructionById.assign(AsmRegisterY + 1, nullptr);
    for (int id = 0; id <= AsmRegisterY; ++id)
        InstructionById[static_cast<size_t>(id)] = FindInstruction(Instructions, id);
}

TAsmLabel* THC11Assembler::FindLabel(std::string_view name) const {
    if (LabelSlots.empty())
        return nullptr;
    const size_t hash = TCaseInsensitiveHash()(name);
    const size_t mask = LabelSlots.size() - 1;
    for (size_t slot = hash & mask; LabelSlots[slot] >= 0; slot = (slot + 1) & mask) {
        const int index = LabelSlots[slot];
        if (LabelHashes[static_cast<size_t>(index)] == hash &&
            SameText(LabelList[index]->Name, name))
            return LabelList[index];
    }
    return nullptr;
}

void THC11Assembler::InsertIntoIndex(int labelIndex) {
    const size_t mask = LabelSlots.size() - 1;
    size_t slot = LabelHashes[static_cast<size_t>(labelIndex)] & mask;
    while (LabelSlots[slot] >= 0)
        slot = (slot + 1) & mask;
    LabelSlots[slot] = labelIndex;
}

TAsmLabel& THC11Assembler::AddLabel(std::string name) {
    auto* label = new TAsmLabel;
    label->Name = std::move(name);
    LabelList.Add(label);
    LabelHashes.push_back(TCaseInsensitiveHash()(label->Name));
    const size_t count = LabelHashes.size();
    if (2 * count > LabelSlots.size()) {
        LabelSlots.assign(std::bit_ceil(std::max<size_t>(64, 4 * count)), -1);
        for (size_t index = 0; index < count; ++index)
            InsertIntoIndex(static_cast<int>(index));
    } else {
        InsertIntoIndex(static_cast<int>(count) - 1);
    }
    return *label;
}

void THC11Assembler::ClearLabels() {
    LabelSlots.clear();
    LabelHashes.clear();
    LabelList.Clear();
}

bool THC11Assembler::Assemble(TEditorFileParser& parser, const std::string& outputFileName,
                              const TAsmMessageEvent& onMessage, const TAsmInfoEvent& onInfo) {
    CORVID_ASSERT(parser.Source != nullptr, "THC11Assembler.Assemble No Source");
    TAsmTokenStream tokens(*parser.Source, CompatibilityMode);
    TAssembly assembly(*this, tokens, onMessage, onInfo);
    assembly.SendListingHeader();
    ClearLabels();
    EntryAddress = -1;

    if (!tokens.Empty()) {
        try {
            assembly.RunPasses();
        } catch (const EAssembleError& error) {
            assembly.Success = false;
            if (onMessage)
                onMessage(error.what(), AsmError, error.Line, error.Column, error.Length);
        } catch (const std::exception& failure) {
            assembly.Success = false;
            if (onMessage)
                onMessage(std::string("EVIL:Internal Assembler Error \"") + failure.what() + "\"",
                          AsmWarning, 0, 0, 0);
        }
        WriteS19File(outputFileName, assembly.Records);
    }

    if (onInfo)
        for (const TAsmLabel* label : LabelList)
            onInfo(AsmInfoLabel, 0, TAsmInfoData{0, label, {}});
    assembly.SendListingTrailer();
    return assembly.Success;
}

} // namespace corvid
