#include "command_line.h"

#include <charconv>

namespace corvid {

const char* const AsmUsageText =
    R"(Usage: corvid-asm [OPTIONS] FILE.asm

Assembles 68HC11 source into a Motorola S19 file, exactly as Corvid's IDE does.

Options:
  -o, --output FILE     write the S19 file here (default: beside the source, named after
                        the source up to its first '.', with the extension .s19)
  -l, --listing FILE    write the listing (source with addresses and code, and the label
                        section) to FILE; '-' writes it to standard output
      --line-map FILE   write one line per statement that produced code, in the form build
                        scripts report addresses: "0012 F800  86 05" (source line, address,
                        code bytes); '-' writes to standard output
      --compat          compatibility mode: text after a complete statement on its line is
                        a comment, and characters that start no token are skipped
      --tab-size N      spaces per tab when reading the source (default 2, as the editor);
                        message columns count in these spaces; 1 counts a tab as one column
  -h, --help            show this text
      --version         show the version

Messages go to standard error as FILE:LINE:COLUMN: followed by the assembler's text, which
starts with its category ("Error:", "Warning:", "Hint:", "Unsupported:" or "EVIL:").

Exit status: 0 when no error was raised (warnings and hints allowed), 1 when the assembly
failed, 2 on a usage or file error.
)";

namespace {

bool ParseTabSize(const std::string& text, int& tabSize) {
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), tabSize);
    return problem == std::errc() && end == text.data() + text.size() && tabSize >= 1 &&
           tabSize <= 16;
}

} // namespace

std::optional<TAsmCommandLine> ParseAsmCommandLine(const std::vector<std::string>& arguments,
                                                   std::string& error) {
    TAsmCommandLine line;
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const auto value = [&](std::string& target) {
            if (index + 1 >= arguments.size()) {
                error = "option " + argument + " needs a value";
                return false;
            }
            target = arguments[++index];
            return true;
        };
        if (argument == "-h" || argument == "--help") {
            line.ShowHelp = true;
        } else if (argument == "--version") {
            line.ShowVersion = true;
        } else if (argument == "--compat") {
            line.CompatibilityMode = true;
        } else if (argument == "-o" || argument == "--output") {
            if (!value(line.OutputFile))
                return std::nullopt;
        } else if (argument == "-l" || argument == "--listing") {
            if (!value(line.ListingFile))
                return std::nullopt;
        } else if (argument == "--line-map") {
            if (!value(line.LineMapFile))
                return std::nullopt;
        } else if (argument == "--tab-size") {
            std::string text;
            if (!value(text))
                return std::nullopt;
            if (!ParseTabSize(text, line.TabSize)) {
                error = "--tab-size needs a number from 1 to 16, not \"" + text + "\"";
                return std::nullopt;
            }
        } else if (argument.size() > 1 && argument[0] == '-' && argument != "-") {
            error = "unknown option " + argument;
            return std::nullopt;
        } else if (!line.SourceFile.empty()) {
            error = "only one source file can be assembled at a time";
            return std::nullopt;
        } else {
            line.SourceFile = argument;
        }
    }
    if (line.SourceFile.empty() && !line.ShowHelp && !line.ShowVersion) {
        error = "no source file given";
        return std::nullopt;
    }
    return line;
}

} // namespace corvid
