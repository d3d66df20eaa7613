#include "assembler_fixture.h"

#include <gtest/gtest.h>

#include <climits>

namespace corvid {
namespace {

using testing::AssembleText;

TEST(Expressions, EvaluateStrictlyLeftToRightWithWrapAround) {
    const struct {
        const char* expression;
        const char* word; // FDB of the value
        const char* message;
    } cases[] = {
        {"2+3*4", "0014", ""},
        {"10-2-3", "0005", ""},
        {"7/2", "0003", ""},
        {"-7/2", "FFFD", ""},
        {"-7%2", "FFFF", ""},
        {"%1010", "000A", ""},
        {"% 1010", "000A", ""},
        {"%102", "", "Error:Error in expression"},
        {"%$1", "", "Error:Error in expression"},
        {"$FF", "00FF", ""},
        {"@17", "000F", ""},
        {"@18", "0001", ""},
        {"@8", "0000", ""},
        {"$fF", "00FF", ""},
        {"4294967297", "0001", ""},
        {"'A'", "0041", ""},
        {"'AB'", "4142", ""},
        {"'\xe9\xff'", "E9FF", ""},
        {"'ABC'", "", "Error:Error in expression"},
        {"''", "", "Error:Error in expression"},
        {"--1", "0001", ""},
        {"+-+1", "FFFF", ""},
        {"$F0&$3C|1^2", "0033", ""},
        {"65536*65536+7", "0007", ""},
        {"2147483647+1", "0000", ""},
        {"1/0", "", "Error:Division by zero"},
        {"1%0", "", "Error:Division by zero"},
        {"#1", "", "Error:Unexpected #"},
        {"UNDEFINED", "", "Error:Undeclared identifier"},
        {"1+", "", "Error:Error in expression"},
        {"X", "", "Error:Error in expression"},
    };
    for (const auto& c : cases) {
        const auto result = AssembleText(std::string(" FDB ") + c.expression);
        EXPECT_EQ(result.Code(), c.word) << c.expression;
        EXPECT_EQ(result.FirstMessage(), c.message) << c.expression;
    }
}

TEST(Expressions, ItemSeparatorsAndTheLocationCounter) {
    EXPECT_EQ(AssembleText(" FCB 1 -1").Code(), "00");
    EXPECT_EQ(AssembleText(" FCB 1,-1").Code(), "01FF");
    EXPECT_EQ(AssembleText(" ORG $1234\n FDB *,*").Code(), "12341234");
    EXPECT_EQ(AssembleText(" FCB 'AB',3,''").Code(), "414203");
}

TEST(Expressions, DivisionByAForwardZeroWaitsForPassTwo) {
    const auto result = AssembleText(" FDB 4/LATER\nLATER EQU 0");
    EXPECT_FALSE(result.Success);
    EXPECT_EQ(result.FirstMessage(), "Error:Division by zero");
    EXPECT_EQ(result.Messages.size(), 1u);
}

TEST(Expressions, TheQuotientWithoutA32BitResultIsAnInternalFailure) {
    for (const char* expression : {"$80000000/-1", "$80000000%-1"}) {
        const auto result = AssembleText(std::string(" FDB ") + expression);
        EXPECT_FALSE(result.Success) << expression;
        ASSERT_EQ(result.Messages.size(), 1u) << expression;
        EXPECT_EQ(result.Messages[0].Text, "EVIL:Internal Assembler Error \"Integer overflow\"");
        EXPECT_EQ(result.Messages[0].Kind, AsmWarning);
        EXPECT_EQ(result.Messages[0].Line, 0);
    }
}

TEST(Driver, LabelsAreUniqueWhateverTheirCase) {
    const auto result = AssembleText("LOOP NOP\nloop NOP");
    EXPECT_FALSE(result.Success);
    ASSERT_EQ(result.Messages.size(), 1u);
    EXPECT_EQ(result.Messages[0].Text, "Error:Label redeclared");
    EXPECT_EQ(result.Messages[0].Line, 2);
    EXPECT_EQ(result.Messages[0].Column, 1);
    EXPECT_EQ(result.Messages[0].Length, 4);
    EXPECT_EQ(result.S19, "S9030000FC");
}

TEST(Driver, NamesOfAnyLengthMatchWhateverTheirCase) {
    const struct {
        const char* source;
        const char* code;
        const char* message;
    } cases[] = {
        {"AB NOP\n JMP ab", "017E0000", ""},
        {"EIGHTCHR NOP\n JMP eightChr", "017E0000", ""},
        {"ALONGERNAME.WITH_PARTS NOP\n JMP alongername.with_parts", "017E0000", ""},
        {"SIXTEENCHARACTER EQU 5\n FCB sixteencharacter", "05", ""},
        {"ALONGERNAME NOP\nalongername NOP", "", "Error:Label redeclared"},
        {"ALONGERNAME NOP\n JMP ALONGERNAMF", "01", "Error:Undeclared identifier"},
    };
    for (const auto& c : cases) {
        const auto result = AssembleText(c.source);
        EXPECT_EQ(result.Code(), c.code) << c.source;
        EXPECT_EQ(result.FirstMessage(), c.message) << c.source;
    }
}

TEST(Driver, TheFirstStatementAfterALabelDecidesItsKind) {
    THC11Assembler assembler;
    const auto result =
        AssembleText(assembler, "ALONE\n NOP\nDATA FCB 1,2,3\n FCB 4\nWORDS FDB 1,2\n"
                                "SPACE RMB 5\nSTART: EQU $10\nTEXT FCC 'hello'");
    ASSERT_TRUE(result.Success) << result.FirstMessage();
    const struct {
        const char* name;
        int address, value, dataKind, dataCount;
        bool isData, isAddress, hasValue;
    } expected[] = {
        {"ALONE", 0, 0, -1, 0, false, true, false},  {"DATA", 1, 0, 1, 3, true, true, false},
        {"WORDS", 5, 0, 2, 2, true, true, false},    {"SPACE", 9, 0, 1, 5, true, true, false},
        {"START", 14, 16, 0, 0, false, false, true}, {"TEXT", 14, 0, 1, 5, true, true, false},
    };
    ASSERT_EQ(assembler.Labels().Count(), static_cast<int>(std::size(expected)));
    for (int index = 0; index < assembler.Labels().Count(); ++index) {
        const TAsmLabel& label = *assembler.Labels()[index];
        const auto& e = expected[index];
        EXPECT_EQ(label.Name, e.name);
        EXPECT_EQ(label.Address, e.address) << e.name;
        EXPECT_EQ(label.Value, e.value) << e.name;
        EXPECT_EQ(label.DataKind, e.dataKind) << e.name;
        EXPECT_EQ(label.DataCount, e.dataCount) << e.name;
        EXPECT_EQ(label.IsData, e.isData) << e.name;
        EXPECT_EQ(label.IsAddress, e.isAddress) << e.name;
        EXPECT_EQ(label.HasValue, e.hasValue) << e.name;
    }
    EXPECT_EQ(result.LabelInfo,
              (std::vector<std::string>{"ALONE", "DATA", "WORDS", "SPACE", "START", "TEXT"}));
    EXPECT_EQ(assembler.EntryAddress, 0);
}

TEST(Driver, StatementsAreTokenDelimitedUnlessCompatible) {
    const struct {
        const char* source;
        bool compatible;
        const char* code;
        const char* message;
    } cases[] = {
        {" NOP NOP", false, "0101", ""},
        {" NOP NOP", true, "01", ""},
        {" NOP garbage", false, "", "Error:Expected label or instruction"},
        {" NOP garbage", true, "01", ""},
        {" LDAA\n #5", false, "8605", ""},
        {" LDAA #5 comment text", true, "8605", ""},
        {" NOP ? NOP", false, "", "Error:Invalid data in file \"?\""},
        {" NOP ? NOP", true, "01", ""},
        {" NOP\n ?\n NOP", true, "0101", ""},
        {" EQU 5", false, "", "Warning:EQU with no label"},
        {" ORG $F800\n NOP\n END\n NOP", false, "01", ""},
        {"; only a comment\n* star comment\n/* block */", false, "", ""},
        {" 5", false, "", "Error:Expected label or instruction"},
        {" 'x'", false, "", "Error:Expected label or instruction"},
    };
    for (const auto& c : cases) {
        const auto result = AssembleText(c.source, c.compatible);
        EXPECT_EQ(result.Code(), c.code) << c.source << (c.compatible ? " (compatible)" : "");
        EXPECT_EQ(result.FirstMessage(), c.message) << c.source;
    }
}

TEST(Driver, ErrorsAreLocatedAtTheirToken) {
    const struct {
        const char* source;
        int line, column, length;
    } cases[] = {
        {"        LDAA", 1, 9, 4},          // Unexpected EOF at the last token
        {" NOP\n   LDAA UNKNOWN", 2, 9, 7}, // Undeclared identifier
        {" NOP ?", 1, 6, 1},                // Invalid data
        {" LDAA #''", 1, 9, 0},             // an empty string token has no length
    };
    for (const auto& c : cases) {
        const auto result = AssembleText(c.source);
        ASSERT_EQ(result.Messages.size(), 1u) << c.source;
        EXPECT_EQ(result.Messages[0].Line, c.line) << c.source;
        EXPECT_EQ(result.Messages[0].Column, c.column) << c.source;
        EXPECT_EQ(result.Messages[0].Length, c.length) << c.source;
        EXPECT_FALSE(result.Success) << c.source;
    }
}

TEST(Driver, AnEmptySourceWritesNoObjectFile) {
    const auto result = AssembleText("  ; nothing here\n\n");
    EXPECT_TRUE(result.Success);
    EXPECT_FALSE(result.S19Written);
    ASSERT_EQ(result.Listing.size(), 6u);
    EXPECT_EQ(result.Listing[1].Text, "**********************************   Code   "
                                      "**********************************");
}

TEST(Driver, AnErrorInPassOneLeavesOnlyTheTerminatorAndTheEarlierLabels) {
    THC11Assembler assembler;
    const auto result = AssembleText(assembler, "FIRST NOP\n LDAA #$\nLATER NOP");
    EXPECT_FALSE(result.Success);
    EXPECT_EQ(result.S19, "S9030000FC");
    EXPECT_EQ(result.LabelInfo, (std::vector<std::string>{"FIRST"}));
    for (const auto& line : result.Listing)
        EXPECT_EQ(line.Text.find("Addr:0000 Op:"), std::string::npos) << line.Text;
}

TEST(Driver, InstructionLinesReportTheirAddressInPassTwo) {
    const auto result = AssembleText(" ORG $100\n NOP\n\n LDX #1\nL FCB 1\n BRA L");
    EXPECT_EQ(result.InstructionLines,
              (std::vector<std::pair<int, int>>{{2, 0x100}, {4, 0x101}, {6, 0x105}}));
}

TEST(Driver, AByteOutsideTheAddressSpaceIsAnError) {
    for (const char* source : {" ORG $FFFF\n NOP\n NOP", " ORG -1\n NOP", " ORG $FFFE\n LDX #1"}) {
        const auto result = AssembleText(source);
        EXPECT_FALSE(result.Success) << source;
        EXPECT_EQ(result.FirstMessage(), "Error:Address out of range") << source;
        EXPECT_EQ(result.S19.find("S1"), result.S19.rfind("S1")) << source;
    }
    EXPECT_EQ(AssembleText(" ORG $FFFF\n NOP").S19, "S104FFFF01FC\r\nS9030000FC");
}

} // namespace
} // namespace corvid
