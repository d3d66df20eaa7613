#include "assembler_fixture.h"

#include "assembler/s19_output.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

using testing::AsmListingLine;
using testing::AssembleText;

std::vector<std::string> S19Lines(const std::string& s19) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = s19.find("\r\n", start);
        lines.push_back(s19.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 2;
    }
}

TEST(S19Output, RecordsFollowEmissionOrderAndBreakAtEveryGap) {
    const struct {
        const char* source;
        std::vector<std::string> lines;
    } cases[] = {
        {" ORG $F800\n LDAA #5\n STAA $1000", {"S108F8008605B71000AD", "S9030000FC"}},
        {" ORG $1000\n NOP\n ORG $2000\n NOP", {"S104100001EA", "S104200001DA", "S9030000FC"}},
        {" FCB 1\n RMB 4\n FCB 2", {"S104000001FA", "S104000502F4", "S9030000FC"}},
        {" FCB 1\n RMB 0\n FCB 2", {"S10500000102F7", "S9030000FC"}},
        {" ORG $10\n FCB 1,2\n ORG $10\n FCB 3", {"S10500100102E7", "S104001003E8", "S9030000FC"}},
        {"A EQU 1\nB EQU 2", {"S9030000FC"}},
    };
    for (const auto& c : cases) {
        const auto result = AssembleText(c.source);
        EXPECT_EQ(S19Lines(result.S19), c.lines) << c.source;
    }
}

TEST(S19Output, ThirtyTwoBytesPerRecord) {
    std::string source = " FCB 0";
    for (int i = 1; i < 40; ++i)
        source += "," + std::to_string(i);
    const auto lines = S19Lines(AssembleText(source).S19);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 8), "S1230000");
    EXPECT_EQ(lines[1].substr(0, 8), "S10B0020");
    EXPECT_EQ(lines[1].substr(8, 16), "2021222324252627");
}

TEST(S19Output, LargeProgramsAreNotLimitedToAFixedTable) {
    std::string source;
    for (int i = 0; i < 1500; ++i)
        source += " ORG " + std::to_string(i * 4) + "\n NOP\n";
    const auto result = AssembleText(source);
    EXPECT_TRUE(result.Success);
    EXPECT_EQ(S19Lines(result.S19).size(), 1501u);
}

TEST(S19Output, ChecksumIsTheOnesComplementOfTheByteSum) {
    TS19Records records;
    records.Emit(0xFFFF, 0xFF);
    EXPECT_EQ(records.Text(), "S104FFFFFFFE\r\nS9030000FC");
}

TEST(Listing, CodeLinesThenTheLabelSection) {
    const auto result = AssembleText("; demo\n ORG $100\nSTART NOP\nVALUE EQU 10\nTABLE FCB 1,2\n"
                                     "SPACE RMB 2\nAVERYLONGLABELNAMETHATGOESPASTTHIRTY NOP");
    const std::vector<AsmListingLine> expected = {
        {-1, ""},
        {-1, "**********************************   Code   **********************************"},
        {-1, ""},
        {3, "Addr:0100 Op: 01"},
        {5, "Addr:0101 Op: 01 02"},
        {6, "Addr:0103 Op:"},
        {7, "Addr:0105 Op: 01"},
        {-1, ""},
        {-1, "**********************************  Labels  **********************************"},
        {-1, ""},
        {-1, "START                          Addr:0100"},
        {-1, "VALUE                          Value:000A"},
        {-1, "TABLE                          Addr:0101"},
        {-1, "SPACE                          Addr:0103"},
        {-1, "AVERYLONGLABELNAMETHATGOESPAST Addr:0105"},
    };
    ASSERT_EQ(result.Listing.size(), expected.size());
    for (size_t index = 0; index < expected.size(); ++index) {
        EXPECT_EQ(result.Listing[index].Line, expected[index].Line) << index;
        EXPECT_EQ(result.Listing[index].Text, expected[index].Text) << index;
    }
}

TEST(Listing, AnAddressLabelAssignedByEquShowsBoth) {
    const auto result = AssembleText("BOTH FCB 1\nBOTH2 NOP\nBOTH2 EQU 3");
    // BOTH2 is redeclared: only the error and the labels of pass 1 remain.
    EXPECT_EQ(result.FirstMessage(), "Error:Label redeclared");
    const auto equ = AssembleText("DATA FCB 1\nNAME EQU DATA");
    EXPECT_EQ(equ.Listing.back().Text, "NAME                           Value:0000");
}

TEST(Listing, StatementsOnOneLineShareItsNumber) {
    const auto result = AssembleText(" NOP NOP\n LDAA\n #1");
    const std::vector<AsmListingLine> code(result.Listing.begin() + 3, result.Listing.begin() + 6);
    EXPECT_EQ(code[0].Line, 1);
    EXPECT_EQ(code[1].Line, 1);
    EXPECT_EQ(code[2].Line, 3);
    EXPECT_EQ(code[2].Text, "Addr:0002 Op: 86 01");
}

// The end of the input has no line: a statement whose operand ends the file is listed on its
// own line, so that the merged listing keeps its code beside it.
TEST(Listing, AStatementEndingTheFileKeepsItsLine) {
    const auto result = AssembleText(" NOP\n STAA $1000");
    const std::vector<AsmListingLine> code(result.Listing.begin() + 3, result.Listing.begin() + 5);
    EXPECT_EQ(code[0].Line, 1);
    EXPECT_EQ(code[1].Line, 2);
    EXPECT_EQ(code[1].Text, "Addr:0001 Op: B7 10 00");
}

TEST(S19Output, ReassemblingReplacesTheOldFile) {
    testing::TempDirectory directory;
    const std::string output = (directory.Path / "prog.s19").string();
    THC11Assembler assembler;
    for (const char* source : {" FCB 1,2,3,4,5,6,7,8,9", " NOP"}) {
        TTextEditorFile file;
        file.LoadFromText(source);
        TEditorFileParser parser;
        parser.Source = &file;
        assembler.Assemble(parser, output, nullptr, nullptr);
    }
    EXPECT_EQ(testing::ReadWholeFile(output), "S104000001FA\r\nS9030000FC");
}

} // namespace
} // namespace corvid
