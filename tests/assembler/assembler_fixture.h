#pragma once

// Assembles source text the way the IDE does (a document, a scanner over it, a real S19 file in
// a temporary directory) and keeps everything the assembler reported.

#include "assembler/hc11_assembler.h"
#include "editor/editor_file_parser.h"
#include "editor/text_editor_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corvid::testing {

struct AsmMessage {
    std::string Text;
    int Kind, Line, Column, Length;
};

struct AsmListingLine {
    int Line;
    std::string Text;
};

struct AsmResult {
    bool Success = false;
    std::vector<AsmMessage> Messages;
    std::vector<AsmListingLine> Listing;
    std::vector<std::pair<int, int>> InstructionLines; // (line, PC)
    std::vector<std::string> LabelInfo;                // names, as sent after both passes
    bool S19Written = false;
    std::string S19;

    // The data bytes of every S1 record, in file order, as upper-case hex without blanks.
    std::string Code() const {
        std::string code;
        size_t start = 0;
        while (start < S19.size()) {
            size_t end = S19.find("\r\n", start);
            if (end == std::string::npos)
                end = S19.size();
            const std::string record = S19.substr(start, end - start);
            if (record.rfind("S1", 0) == 0) {
                const int count = std::stoi(record.substr(2, 2), nullptr, 16);
                code += record.substr(8, static_cast<size_t>(count - 3) * 2);
            }
            start = end + 2;
        }
        return code;
    }

    std::string FirstMessage() const { return Messages.empty() ? "" : Messages.front().Text; }
};

class TempDirectory {
public:
    TempDirectory() {
        char name[] = "/tmp/corvid-asm-XXXXXX";
        Path = mkdtemp(name);
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    std::filesystem::path Path;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline AsmResult AssembleText(THC11Assembler& assembler, const std::string& source,
                              bool compatibilityMode = false) {
    TempDirectory directory;
    const std::string output = (directory.Path / "out.s19").string();
    TTextEditorFile file;
    file.LoadFromText(source);
    TEditorFileParser parser;
    parser.Source = &file;
    AsmResult result;
    assembler.CompatibilityMode = compatibilityMode;
    result.Success = assembler.Assemble(
        parser, output,
        [&](const std::string& message, int kind, int line, int column, int length) {
            result.Messages.push_back({message, kind, line, column, length});
        },
        [&](int kind, int line, const TAsmInfoData& data) {
            if (kind == AsmInfoInstruction)
                result.InstructionLines.emplace_back(line, data.Address);
            else if (kind == AsmInfoListing)
                result.Listing.push_back({line, std::string(data.Text)});
            else if (kind == AsmInfoLabel)
                result.LabelInfo.push_back(data.Label->Name);
        });
    result.S19Written = std::filesystem::exists(output);
    if (result.S19Written)
        result.S19 = ReadWholeFile(output);
    return result;
}

inline AsmResult AssembleText(const std::string& source, bool compatibilityMode = false) {
    THC11Assembler assembler;
    return AssembleText(assembler, source, compatibilityMode);
}

} // namespace corvid::testing
