#include "isa_table.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace corvid::testing {
namespace {

constexpr std::pair<std::string_view, TIsaMode> ModeNames[] = {
    {"INH", TIsaMode::Inherent},
    {"IMM8", TIsaMode::Immediate8},
    {"IMM16", TIsaMode::Immediate16},
    {"DIR", TIsaMode::Direct},
    {"EXT", TIsaMode::Extended},
    {"INDX", TIsaMode::IndexedX},
    {"INDY", TIsaMode::IndexedY},
    {"REL", TIsaMode::Relative},
    {"BIT_DIR", TIsaMode::BitDirect},
    {"BIT_INDX", TIsaMode::BitIndexedX},
    {"BIT_INDY", TIsaMode::BitIndexedY},
    {"BRBIT_DIR", TIsaMode::BranchDirect},
    {"BRBIT_INDX", TIsaMode::BranchIndexedX},
    {"BRBIT_INDY", TIsaMode::BranchIndexedY},
};

// One CSV record; a field in double quotes may hold commas, and "" inside it is one quote.
std::vector<std::string> SplitFields(std::string_view line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

[[noreturn]] void Malformed(int lineNumber, const std::string& why) {
    throw std::runtime_error("hc11_isa.csv line " + std::to_string(lineNumber) + ": " + why);
}

std::vector<uint8_t> ParseOpcode(const std::string& text, int lineNumber) {
    std::vector<uint8_t> bytes;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string hex = text.substr(start, end - start);
        if (hex.size() != 2 || hex.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
            Malformed(lineNumber, "bad opcode \"" + text + "\"");
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex, nullptr, 16)));
        start = end + 1;
    }
    if (bytes.empty() || bytes.size() > 2)
        Malformed(lineNumber, "bad opcode \"" + text + "\"");
    return bytes;
}

TIsaRow ParseRow(std::string_view line, int lineNumber) {
    const std::vector<std::string> fields = SplitFields(line);
    if (fields.size() < 4)
        Malformed(lineNumber, "fewer than four fields");
    TIsaRow row;
    row.Mnemonic = fields[0];
    row.ModeName = fields[1];
    bool known = false;
    for (const auto& [name, mode] : ModeNames) {
        if (name == row.ModeName) {
            row.Mode = mode;
            known = true;
        }
    }
    if (!known)
        Malformed(lineNumber, "unknown mode \"" + row.ModeName + "\"");
    row.Opcode = ParseOpcode(fields[2], lineNumber);
    if (fields[3].empty() || fields[3].find_first_not_of("0123456789") != std::string::npos)
        Malformed(lineNumber, "bad length \"" + fields[3] + "\"");
    row.Bytes = std::stoi(fields[3]);
    return row;
}

} // namespace

const TIsaRow* TIsaTable::Find(std::string_view mnemonic, TIsaMode mode) const {
    for (const TIsaRow& row : Rows) {
        if (row.Mnemonic == mnemonic && row.Mode == mode)
            return &row;
    }
    return nullptr;
}

TIsaTable ParseIsaTable(std::string_view csv) {
    TIsaTable table;
    int lineNumber = 0;
    size_t start = 0;
    while (start < csv.size()) {
        size_t end = csv.find('\n', start);
        if (end == std::string_view::npos)
            end = csv.size();
        std::string_view line = csv.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        if (lineNumber > 1 && !line.empty())
            table.Rows.push_back(ParseRow(line, lineNumber));
        start = end + 1;
    }
    return table;
}

TIsaTable ReadIsaTable(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + fileName);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseIsaTable(text);
}

} // namespace corvid::testing
