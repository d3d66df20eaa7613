#include "assembler/hc11_assembler.h"

#include "assembler/assembly.h"
#include "assembler/token_list.h"
#include "editor/editor_file_parser.h"
#include "foundation/case_fold.h"
#include "foundation/file_stream.h"
#include "parsing/asm_tokens.h"

namespace corvid {

namespace {

constexpr int S19BufferSize = 256;

void AddRecognisers(TParser& parser, bool compatibilityMode) {
    parser.ParserObjects.Add(new TSkipWhitespaceParserObject);
    parser.ParserObjects.Add(new TAsmCommentParserObject);
    parser.ParserObjects.Add(new TAsmIdentifierReservedParserObject);
    parser.ParserObjects.Add(new TAsmNumberParserObject);
    parser.ParserObjects.Add(new TAsmSymbolParserObject);
    parser.ParserObjects.Add(new TAsmStringParserObject);
    if (!compatibilityMode)
        parser.ParserObjects.Add(new TBadInputParserObject);
}

void WriteS19File(const std::string& fileName, const TS19Records& records) {
    TSafeFileWriter writer(fileName, S19BufferSize);
    records.WriteTo(writer.Stream());
    writer.Commit();
}

} // namespace

THC11Assembler::THC11Assembler() {
    FillInstructionTable(Instructions);
}

TAsmLabel* THC11Assembler::FindLabel(std::string_view name) const {
    const auto found = LabelIndex.find(UpperCase(name));
    return found == LabelIndex.end() ? nullptr : Labels[found->second];
}

TAsmLabel& THC11Assembler::AddLabel(std::string name) {
    auto* label = new TAsmLabel;
    label->Name = std::move(name);
    LabelIndex.emplace(UpperCase(label->Name), Labels.Count());
    Labels.Add(label);
    return *label;
}

void THC11Assembler::ClearLabels() {
    Labels.Clear();
    LabelIndex.clear();
}

bool THC11Assembler::Assemble(TEditorFileParser& parser, const std::string& outputFileName,
                              const TAsmMessageEvent& onMessage, const TAsmInfoEvent& onInfo) {
    TAsmTokenList tokens;
    TAssembly assembly(*this, tokens, onMessage, onInfo);
    assembly.SendListingHeader();
    ClearLabels();
    EntryAddress = -1;

    AddRecognisers(parser, CompatibilityMode);
    parser.Scan(*parser.Source, tokens);

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
        for (const TAsmLabel* label : Labels)
            onInfo(AsmInfoLabel, 0, TAsmInfoData{0, label, {}});
    assembly.SendListingTrailer();
    return assembly.Success;
}

} // namespace corvid
