#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvid {

// What corvid-asm was asked to do.
struct TAsmCommandLine {
    std::string SourceFile;
    std::string OutputFile;  // empty: beside the source, named like the IDE names it
    std::string ListingFile; // empty: no listing
    std::string LineMapFile; // empty: none
    bool CompatibilityMode = false;
    int TabSize = 2;
    bool ShowHelp = false;
    bool ShowVersion = false;
};

// Reads the arguments (without the program name). On a usage error returns nothing and sets
// the error text.
std::optional<TAsmCommandLine> ParseAsmCommandLine(const std::vector<std::string>& arguments,
                                                   std::string& error);

extern const char* const AsmUsageText;

} // namespace corvid
