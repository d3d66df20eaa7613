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
#include <cstring>

namespace corvid {

namespace {

// Large enough that the file goes out in few writes, not one system call per record.
constexpr int S19BufferSize = 16 * 1024;

void WriteS19File(const std::string& fileName, const TS19Records& records) {
    TSafeFileWriter writer(fileName, S19BufferSize, TDurability::Regenerable);
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

// Equal names, compared case-insensitively, hash alike: every byte is taken without its 0x20
// bit, which is all that tells a lower-case letter from its upper case. The bytes go in eight
// at a time, with one multiplication for each eight.
uint32_t THC11Assembler::LabelHash(std::string_view name) {
    constexpr uint64_t WithoutCaseBits = 0xDFDFDFDFDFDFDFDFull;
    constexpr uint64_t Multiplier = 0x9E3779B97F4A7C15ull;
    uint64_t hash = name.size();
    size_t index = 0;
    for (; index + 8 <= name.size(); index += 8) {
        uint64_t eight;
        std::memcpy(&eight, name.data() + index, 8);
        hash = (hash ^ (eight & WithoutCaseBits)) * Multiplier;
    }
    uint64_t rest = 0;
    for (; index < name.size(); ++index)
        rest = rest << 8 | (static_cast<unsigned char>(name[index]) & 0xDFu);
    hash = (hash ^ rest) * Multiplier;
    return static_cast<uint32_t>(hash >> 32);
}

TAsmLabel* THC11Assembler::FindLabel(std::string_view name) const {
    const int index = FindLabelIndex(name, LabelHash(name));
    return index >= 0 ? LabelList[index] : nullptr;
}

int THC11Assembler::FindLabelIndex(std::string_view name, uint32_t hash) const {
    if (LabelSlots.empty())
        return -1;
    const size_t mask = LabelSlots.size() - 1;
    for (size_t slot = hash & mask; LabelSlots[slot].Index >= 0; slot = (slot + 1) & mask) {
        const TLabelSlot& entry = LabelSlots[slot];
        if (entry.Hash == hash && SameName(LabelList[entry.Index]->Name, name))
            return entry.Index;
    }
    return -1;
}

void THC11Assembler::InsertIntoIndex(TLabelSlot entry) {
    const size_t mask = LabelSlots.size() - 1;
    size_t slot = entry.Hash & mask;
    while (LabelSlots[slot].Index >= 0)
        slot = (slot + 1) & mask;
    LabelSlots[slot] = entry;
}

TAsmLabel& THC11Assembler::AddLabel(std::string_view name, uint32_t hash) {
    auto* label = new TAsmLabel;
    label->Name = name;
    LabelList.Add(label);
    const auto count = static_cast<size_t>(LabelList.Count());
    if (2 * count > LabelSlots.size()) { // at most half full, so that probes stay short
        std::vector<TLabelSlot> old(std::bit_ceil(std::max<size_t>(64, 2 * count)));
        old.swap(LabelSlots);
        for (const TLabelSlot& entry : old)
            if (entry.Index >= 0)
                InsertIntoIndex(entry);
    }
    InsertIntoIndex(TLabelSlot{hash, static_cast<int32_t>(count) - 1});
    return *label;
}

void THC11Assembler::ClearLabels() {
    LabelSlots.clear();
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
