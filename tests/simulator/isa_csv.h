#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvid {

// One row of hc11_isa.csv (beside the tests): the instruction set as the reference manual
// gives it, the facts the simulator is checked against.
struct IsaRow {
    std::string Mnemonic;
    std::string Mode;            // INH, IMM8, IMM16, DIR, EXT, INDX, INDY, REL, BIT_*, BRBIT_*
    std::vector<uint8_t> Opcode; // prebyte first
    int Bytes = 0;
    std::string Cycles; // a number, or "inf"
    std::string Flags;  // S X H I N Z V C, each "-", "0", "1", "*" or "d" (down only)
    std::string Notes;

    bool IsAlias() const { return Notes.find("alias") != std::string::npos; }
    int CycleCount() const { return Cycles == "inf" ? -1 : std::stoi(Cycles); }
};

inline std::vector<std::string> SplitCsvLine(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else if (c != '\r')
            fields.back() += c;
    }
    return fields;
}

inline std::vector<IsaRow> ReadIsaCsv() {
    std::ifstream in(CORVID_TEST_DATA_DIR "/hc11_isa.csv");
    if (!in)
        throw std::runtime_error("hc11_isa.csv is missing beside the tests");
    std::vector<IsaRow> rows;
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        const auto fields = SplitCsvLine(line);
        IsaRow row;
        row.Mnemonic = fields.at(0);
        row.Mode = fields.at(1);
        std::istringstream opcode(fields.at(2));
        for (std::string byte; opcode >> byte;)
            row.Opcode.push_back(static_cast<uint8_t>(std::stoi(byte, nullptr, 16)));
        row.Bytes = std::stoi(fields.at(3));
        row.Cycles = fields.at(4);
        for (int flag = 5; flag < 13; ++flag)
            row.Flags += fields.at(flag) == "down" ? "d" : fields.at(flag);
        row.Notes = fields.size() > 13 ? fields[13] : "";
        rows.push_back(row);
    }
    return rows;
}

} // namespace corvid
