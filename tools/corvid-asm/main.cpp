// corvid-asm: Corvid's 68HC11 assembler on the command line, for build scripts, editors and
// continuous integration. It loads and assembles a file with the same library and the same
// document loading as the IDE.

#include "command_line.h"
#include "line_map.h"

#include "assembler/hc11_assembler.h"
#include "assembler/merged_listing.h"
#include "editor/editor_file_parser.h"
#include "editor/text_editor_file.h"
#include "foundation/errors.h"
#include "foundation/file_names.h"
#include "foundation/file_stream.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace corvid {
namespace {

constexpr int ExitSuccess = 0;
constexpr int ExitAssemblyFailed = 1;
constexpr int ExitUsageOrFileError = 2;

// Ends the process once everything is written, without taking apart what the assembly built:
// the kernel takes the memory back at once, where freeing a large document line by line and
// the labels one by one costs a good part of a short run.
[[noreturn]] void ExitAtOnce(int status) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
}

int FileError(const std::string& text) {
    std::cerr << "corvid-asm: " << text << "\n";
    return ExitUsageOrFileError;
}

std::string DefaultOutputFile(const std::string& sourceFile) {
    return PathWithoutExtension(sourceFile) + ".s19";
}

void PrintMessage(const std::string& sourceFile, const std::string& message, int line, int column) {
    if (line >= 1 && column >= 1)
        std::cerr << sourceFile << ':' << line << ':' << column << ": " << message << "\n";
    else
        std::cerr << sourceFile << ": " << message << "\n";
}

// Where the listing lines go: nowhere, standard output, or a file replaced once complete.
class ListingOutput {
public:
    explicit ListingOutput(const std::string& fileName) {
        if (!fileName.empty() && fileName != "-")
            File = std::make_unique<TSafeFileWriter>(fileName, 64 * 1024, TDurability::Regenerable);
        ToStandardOutput = fileName == "-";
    }
    bool Wanted() const { return File || ToStandardOutput; }
    void Add(const std::string& line) {
        if (File)
            File->Stream().WriteUnixLine(line);
        else if (ToStandardOutput)
            std::cout << line << '\n';
    }
    void Commit() {
        if (File)
            File->Commit();
    }

private:
    std::unique_ptr<TSafeFileWriter> File;
    bool ToStandardOutput = false;
};

int Run(const TAsmCommandLine& commandLine) {
    TTextEditorFile document;
    document.FileName = commandLine.SourceFile;
    document.LoadTabSize = commandLine.TabSize;
    if (document.IsEncrypted())
        return FileError(commandLine.SourceFile +
                         " is password-protected; open it in Corvid to assemble it");
    try {
        document.LoadFromFile(commandLine.SourceFile);
    } catch (const Error& error) {
        return FileError(error.what());
    }

    std::unique_ptr<ListingOutput> listing;
    std::unique_ptr<ListingOutput> lineMap;
    try {
        listing = std::make_unique<ListingOutput>(commandLine.ListingFile);
        lineMap = std::make_unique<ListingOutput>(commandLine.LineMapFile);
    } catch (const Error& error) {
        return FileError("cannot write: " + std::string(error.what()));
    }
    TMergedListing merger(document, [&](const std::string& line) { listing->Add(line); });
    merger.Begin(commandLine.SourceFile);

    const std::string outputFile = commandLine.OutputFile.empty()
                                       ? DefaultOutputFile(commandLine.SourceFile)
                                       : commandLine.OutputFile;
    THC11Assembler assembler;
    assembler.CompatibilityMode = commandLine.CompatibilityMode;
    TEditorFileParser parser;
    parser.Source = &document;
    const auto printMessage = [&](const std::string& message, int, int line, int column, int) {
        PrintMessage(commandLine.SourceFile, message, line, column);
    };
    const auto mergeListing = [&](int kind, int line, const TAsmInfoData& data) {
        if (kind == AsmInfoListing && lineMap->Wanted())
            if (const std::string entry = LineMapEntry(line, data.Text); !entry.empty())
                lineMap->Add(entry);
        if (kind == AsmInfoListing)
            merger.AddListing(line, data.Text);
        else if (kind == AsmInfoEndOfCode)
            merger.EndOfCode();
    };
    bool succeeded = false;
    try {
        succeeded = assembler.Assemble(
            parser, outputFile, printMessage,
            listing->Wanted() || lineMap->Wanted() ? TAsmInfoEvent(mergeListing) : nullptr);
    } catch (const Error& error) {
        return FileError("cannot write " + outputFile + ": " + error.what());
    }
    try {
        listing->Commit();
        lineMap->Commit();
    } catch (const Error& error) {
        return FileError("cannot write: " + std::string(error.what()));
    }
    ExitAtOnce(succeeded ? ExitSuccess : ExitAssemblyFailed);
}

} // namespace
} // namespace corvid

int main(int argc, char** argv) {
    using namespace corvid;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    const auto commandLine = ParseAsmCommandLine(arguments, error);
    if (!commandLine) {
        std::cerr << "corvid-asm: " << error << "\nTry 'corvid-asm --help'.\n";
        return ExitUsageOrFileError;
    }
    if (commandLine->ShowHelp) {
        std::cout << AsmUsageText;
        return ExitSuccess;
    }
    if (commandLine->ShowVersion) {
        std::cout << "corvid-asm " CORVID_VERSION "\n";
        return ExitSuccess;
    }
    try {
        return Run(*commandLine);
    } catch (const std::exception& failure) {
        std::cerr << "corvid-asm: internal error: " << failure.what() << "\n";
        return ExitUsageOrFileError;
    }
}
