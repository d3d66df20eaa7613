#include "workspace/build_output.h"

#include "foundation/extract_pattern.h"
#include "foundation/number_text.h"

namespace corvid {

namespace {

constexpr size_t LastMessageColonPosition = 6; // 1-based

// Characters first..last (1-based, inclusive) of a line; what exists of them.
std::string_view Characters(std::string_view line, size_t first, size_t last) {
    if (first > line.size())
        return {};
    return line.substr(first - 1, last - first + 1);
}

bool ReadMessage(std::string_view line, std::string_view fileName, TBuildOutput& output) {
    const size_t colon = line.find(':');
    if (fileName.empty() || colon == std::string_view::npos || colon + 1 > LastMessageColonPosition)
        return false;
    const int lineNumber = ParseNumberOrZero(line);
    if (lineNumber <= 0)
        return false;
    TBuildMessage message;
    message.ModuleName = fileName;
    message.Line = lineNumber;
    message.Text = std::string(fileName) + "(" + std::to_string(lineNumber) + ") " +
                   ExtractPattern(line, "ffc:rt[+msce]");
    output.Messages.push_back(std::move(message));
    output.Succeeded = false;
    return true;
}

void ReadListingLine(std::string_view line, TBuildOutput& output) {
    const int lineNumber = ParseNumber(Characters(line, 1, 4), -1);
    if (lineNumber <= 0)
        return;
    const int address = ParseNumber("$" + std::string(Characters(line, 6, 9)), -1);
    const int byte = ParseNumber("$" + std::string(Characters(line, 12, 13)), -1);
    if (address >= 0 && byte >= 0)
        output.Marks.push_back(TCodeMark{lineNumber - 1, address});
}

} // namespace

TBuildOutput ParseBuildOutput(const std::vector<std::string>& lines, std::string_view fileName) {
    TBuildOutput output;
    for (const std::string& line : lines)
        if (!ReadMessage(line, fileName, output))
            ReadListingLine(line, output);
    return output;
}

} // namespace corvid
