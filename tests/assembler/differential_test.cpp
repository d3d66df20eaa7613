// Corvid's assembler against an independent one: the same generated program, written in both
// syntaxes, must give the same memory image from Corvid and from GNU as for the 68HC11 (as,
// ld and objcopy run as real processes).

#include "assembler_fixture.h"
#include "isa_table.h"
#include "program_generator.h"
#include "program_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

namespace corvid {
namespace {

using testing::AsmResult;
using testing::TDualProgram;
using testing::TIsaMode;
using testing::TIsaRow;
using testing::TIsaTable;

using TImage = std::map<int, uint8_t>;

const TIsaTable& Isa() {
    static const TIsaTable table = testing::ReadIsaTable(CORVID_TEST_DATA_DIR "/hc11_isa.csv");
    return table;
}

int HexValue(const std::string& text, size_t position, size_t digits) {
    return std::stoi(text.substr(position, digits), nullptr, 16);
}

// The data bytes of every S1 record by address. A malformed record, a bad checksum or an
// address written twice is an error: the programs compared here never overlap.
TImage ImageOfS19(const std::string& s19, std::string& error) {
    TImage image;
    std::istringstream lines(s19);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("S1", 0) != 0)
            continue;
        if (line.size() < 10 ||
            line.find_first_not_of("0123456789ABCDEF", 2) != std::string::npos) {
            error = "malformed record " + line;
            return image;
        }
        const int count = HexValue(line, 2, 2);
        if (line.size() != static_cast<size_t>(4 + 2 * count) || count < 3) {
            error = "record length does not match its count: " + line;
            return image;
        }
        int sum = 0;
        for (int i = 0; i < count + 1; ++i)
            sum += HexValue(line, 2 + 2 * static_cast<size_t>(i), 2);
        if ((sum & 0xFF) != 0xFF) {
            error = "bad checksum: " + line;
            return image;
        }
        const int address = HexValue(line, 4, 4);
        for (int i = 0; i < count - 3; ++i) {
            const auto [at, inserted] = image.emplace(
                address + i,
                static_cast<uint8_t>(HexValue(line, 8 + 2 * static_cast<size_t>(i), 2)));
            if (!inserted) {
                error = "address written twice: " + std::to_string(at->first);
                return image;
            }
        }
    }
    return image;
}

std::string Hex(int value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct TGnuImage {
    bool Ok = false;
    std::string Diagnostics;
    TImage Image;
};

// as (no branch ever turned into a jump: Corvid has no such relaxation), ld placing each ORG
// window, objcopy to S19.
TGnuImage AssembleWithGnu(const TDualProgram& program) {
    testing::TempDirectory directory;
    const auto file = [&](const char* name) { return (directory.Path / name).string(); };
    WriteFile(file("prog.s"), program.Gnu);
    std::string linkerArguments;
    for (const std::string& argument : testing::SectionStartArguments(program))
        linkerArguments += argument + "\n";
    WriteFile(file("prog.ld"), linkerArguments);

    const std::vector<std::vector<std::string>> steps = {
        {"m68hc11-as", "--mri", "--short-branches", "-o", file("prog.o"), file("prog.s")},
        {"m68hc11-ld", "--no-check-sections", "-e", "0", "-o", file("prog.elf"),
         "@" + file("prog.ld"), file("prog.o")},
        {"m68hc11-objcopy", "-O", "srec", file("prog.elf"), file("prog.s19")},
    };
    TGnuImage result;
    for (const auto& step : steps) {
        const testing::TProcessResult run = testing::RunProcess(step);
        if (!run.Started || run.ExitCode != 0) {
            result.Diagnostics = step[0] + (run.Started ? " failed:\n" : " did not start\n") +
                                 run.Output.substr(0, 4000);
            return result;
        }
    }
    std::string error;
    result.Image = ImageOfS19(testing::ReadWholeFile(file("prog.s19")), error);
    result.Ok = error.empty();
    result.Diagnostics = error;
    return result;
}

std::string SourceLine(const std::string& source, int lineNumber) {
    std::istringstream lines(source);
    std::string text;
    for (int i = 0; i < lineNumber && std::getline(lines, text); ++i) {
    }
    return "line " + std::to_string(lineNumber) + " \"" + text + "\"";
}

// The source line and listing line that produced the byte at an address, to explain a
// difference.
std::string WhereCorvidPut(const AsmResult& result, const std::string& source, int address) {
    const testing::AsmListingLine* best = nullptr;
    int bestAddress = -1;
    for (const auto& line : result.Listing) {
        if (line.Text.rfind("Addr:", 0) != 0)
            continue;
        const int at = std::stoi(line.Text.substr(5, 4), nullptr, 16);
        if (at <= address && at > bestAddress) {
            bestAddress = at;
            best = &line;
        }
    }
    if (best == nullptr)
        return "no listing line";
    return SourceLine(source, best->Line) + " listed as " + best->Text;
}

// Every address either side has, with both bytes, at most a dozen of them.
std::string Differences(const TImage& corvid, const TImage& gnu, const AsmResult& result,
                        const std::string& source) {
    std::map<int, std::pair<int, int>> differing;
    for (const auto& [address, byte] : corvid) {
        const auto other = gnu.find(address);
        if (other == gnu.end() || other->second != byte)
            differing[address] = {byte, other == gnu.end() ? -1 : other->second};
    }
    for (const auto& [address, byte] : gnu) {
        if (!corvid.contains(address))
            differing[address] = {-1, byte};
    }
    std::string report = std::to_string(differing.size()) + " addresses differ";
    int shown = 0;
    for (const auto& [address, bytes] : differing) {
        if (++shown > 12)
            break;
        const auto show = [](int byte) { return byte < 0 ? std::string("--") : Hex(byte, 2); };
        report += "\n  $" + Hex(address, 4) + ": Corvid " + show(bytes.first) + ", GNU as " +
                  show(bytes.second) + "  (" + WhereCorvidPut(result, source, address) + ")";
    }
    return report;
}

bool GnuAsAvailable() {
    return testing::IsOnPath("m68hc11-as") && testing::IsOnPath("m68hc11-ld") &&
           testing::IsOnPath("m68hc11-objcopy");
}

// The comparisons need GNU as; a machine without it skips them and says why.
template <class Base>
class RequiresGnuAs : public Base {
protected:
    void SetUp() override {
        if (!GnuAsAvailable())
            GTEST_SKIP() << "m68hc11-as, m68hc11-ld or m68hc11-objcopy is not on PATH (Debian "
                            "package binutils-m68hc1x, installed by scripts/install-deps.sh)";
    }
};

void ExpectSameImage(const TDualProgram& program, bool compatibilityMode) {
    const AsmResult corvid = testing::AssembleText(program.Corvid, compatibilityMode);
    for (const auto& message : corvid.Messages) {
        ASSERT_NE(message.Kind, AsmError)
            << message.Text << " at " << SourceLine(program.Corvid, message.Line);
    }
    ASSERT_TRUE(corvid.Success);
    std::string error;
    const TImage corvidImage = ImageOfS19(corvid.S19, error);
    ASSERT_EQ(error, "") << "in Corvid's S19";

    const TGnuImage gnu = AssembleWithGnu(program);
    ASSERT_TRUE(gnu.Ok) << gnu.Diagnostics;
    ASSERT_FALSE(gnu.Image.empty());
    EXPECT_TRUE(corvidImage == gnu.Image)
        << Differences(corvidImage, gnu.Image, corvid, program.Corvid);
}

TEST(IsaTable, HoldsEveryRowOfTheInstructionSet) {
    EXPECT_EQ(Isa().Rows.size(), 316u);
    EXPECT_THROW(testing::ParseIsaTable("h\nLDAA,IMM9,86,2\n"), std::runtime_error);
    EXPECT_THROW(testing::ParseIsaTable("h\nLDAA,IMM8,8G,2\n"), std::runtime_error);
    const auto quoted = testing::ParseIsaTable("h\r\nWAI,INH,3E,1,14,\"a, b\"\r\n");
    ASSERT_EQ(quoted.Rows.size(), 1u);
    EXPECT_EQ(quoted.Rows[0].Key(), "WAI INH");
}

// The operand of a row in its simplest spelling, and the bytes it adds after the opcode. A
// branch targets the instruction itself: "*" for a plain branch, its label after a mask (where
// "*" would multiply the mask).
std::pair<std::string, std::vector<uint8_t>> SimpleOperand(const TIsaRow& row,
                                                           const std::string& label) {
    const uint8_t back = static_cast<uint8_t>(-row.Bytes);
    switch (row.Mode) {
    case TIsaMode::Inherent:
        return {"", {}};
    case TIsaMode::Immediate8:
        return {"#$12", {0x12}};
    case TIsaMode::Immediate16:
        return {"#$1234", {0x12, 0x34}};
    case TIsaMode::Direct:
        return {"$12", {0x12}};
    case TIsaMode::Extended:
        return {"$1234", {0x12, 0x34}};
    case TIsaMode::IndexedX:
        return {"$12,X", {0x12}};
    case TIsaMode::IndexedY:
        return {"$12,Y", {0x12}};
    case TIsaMode::Relative:
        return {"*", {back}};
    case TIsaMode::BitDirect:
        return {"$12 $34", {0x12, 0x34}};
    case TIsaMode::BitIndexedX:
        return {"$12,X $34", {0x12, 0x34}};
    case TIsaMode::BitIndexedY:
        return {"$12,Y $34", {0x12, 0x34}};
    case TIsaMode::BranchDirect:
        return {"$12 $34 " + label, {0x12, 0x34, back}};
    case TIsaMode::BranchIndexedX:
        return {"$12,X $34 " + label, {0x12, 0x34, back}};
    case TIsaMode::BranchIndexedY:
        return {"$12,Y $34 " + label, {0x12, 0x34, back}};
    }
    return {};
}

// Needs no other assembler: one statement a row, and each listing line shows the table's opcode
// at the address that the lengths of the rows before it give.
TEST(IsaTable, EveryRowAssemblesToItsOpcodeAndLength) {
    struct TExpected {
        std::string Key;
        std::string Listing;
    };
    std::map<int, TExpected> expected; // by source line
    std::string source = " ORG $2000\n";
    int address = 0x2000;
    for (const TIsaRow& row : Isa().Rows) {
        const std::string label = "HERE" + std::to_string(expected.size());
        auto [operand, bytes] = SimpleOperand(row, label);
        bytes.insert(bytes.begin(), row.Opcode.begin(), row.Opcode.end());
        EXPECT_EQ(static_cast<int>(bytes.size()), row.Bytes) << row.Key();
        source += label + " " + row.Mnemonic + " " + operand + "\n";
        std::string listing = "Addr:" + Hex(address, 4) + " Op:";
        for (const uint8_t byte : bytes)
            listing += " " + Hex(byte, 2);
        expected[static_cast<int>(expected.size()) + 2] = {row.Key(), listing};
        address += row.Bytes;
    }
    const auto result = testing::AssembleText(source);
    ASSERT_TRUE(result.Success) << result.FirstMessage();
    for (const auto& line : result.Listing) {
        const auto row = expected.find(line.Line);
        if (row == expected.end())
            continue;
        EXPECT_EQ(line.Text, row->second.Listing) << row->second.Key;
        expected.erase(row);
    }
    EXPECT_TRUE(expected.empty()) << expected.size() << " rows were not listed";
}

TEST(CoverageProgram, GeneratesEveryRow) {
    const TDualProgram program = testing::GenerateCoverageProgram(Isa());
    for (const TIsaRow& row : Isa().Rows)
        EXPECT_TRUE(program.CoveredRows.contains(row.Key())) << row.Key() << " is never generated";
}

using Differential = RequiresGnuAs<::testing::Test>;

TEST_F(Differential, CoverageProgramGivesTheImageOfGnuAs) {
    ExpectSameImage(testing::GenerateCoverageProgram(Isa()), false);
}

// One statement a line and only ";" comments after operands: the same image in
// compatibility mode.
TEST_F(Differential, CoverageProgramGivesTheSameImageInCompatibilityMode) {
    ExpectSameImage(testing::GenerateCoverageProgram(Isa()), true);
}

// Seeds 12, 19 and 37 give names that m68hc11-ld misplaces unless the generator avoids them.
class RandomDifferential : public RequiresGnuAs<::testing::TestWithParam<uint32_t>> {};

TEST_P(RandomDifferential, RandomProgramGivesTheImageOfGnuAs) {
    ExpectSameImage(testing::GenerateRandomProgram(Isa(), GetParam(), 3000), false);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomDifferential,
                         ::testing::Values(1u, 2u, 3u, 12u, 19u, 37u, 2024u));

} // namespace
} // namespace corvid
