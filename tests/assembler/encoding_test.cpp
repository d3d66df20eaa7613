#include "assembler_fixture.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

using testing::AssembleText;

struct EncodingCase {
    const char* source;
    const char* code;    // bytes of the S19 records
    const char* message; // the first message, "" for none
};

void CheckCases(const EncodingCase* begin, const EncodingCase* end) {
    for (const EncodingCase* c = begin; c != end; ++c) {
        const auto result = AssembleText(c->source);
        EXPECT_EQ(result.Code(), c->code) << c->source;
        EXPECT_EQ(result.FirstMessage(), c->message) << c->source;
    }
}

TEST(Encoding, ImmediateDirectExtendedAndIndexed) {
    const EncodingCase cases[] = {
        {" LDAA #$FF", "86FF", ""},
        {" LDAA #256", "8600", "Warning:Immediate value overflow/underflow"},
        {" LDAA #-1", "86FF", "Warning:Immediate value overflow/underflow"},
        {" LDD #$1234", "CC1234", ""},
        {" LDD #$10000", "CC0000", "Warning:Immediate value overflow/underflow"},
        {" LDAA $40", "9640", ""},
        {" LDAA $1234", "B61234", ""},
        {" LDAA >$40", "B60040", ""},
        {" LDAA -1", "96FF", "Warning:Extended addressing overflow/underflow"},
        {" LDAA $10000", "B60000", "Warning:Extended addressing overflow/underflow"},
        {" LDAA 5,X", "A605", ""},
        {" LDAA ,Y", "18A600", ""},
        {" LDAA , X", "A600", ""},
        {" LDAA 300,X", "A62C", "Warning:Indexed addressing overflow/underflow"},
        {" LDAA 5,Z", "", "Error:Invalid indexed addressing mode"},
        {" LDAA 5,", "", "Error:Unexpected EOF"},
        {" CPD #1", "1A830001", ""},
        {" CPD 0,Y", "CDA300", ""},
        {" CMPD $20", "1A9320", ""},
        {" LDY 0,X", "1AEE00", ""},
        {" LDY #$1234", "18CE1234", ""},
        {" STX 0,Y", "CDEF00", ""},
        {" STY $80", "18DF80", ""},
        {" JMP $10", "7E0010", ""},
        {" JMP >$10", "", "Error:Error in expression"},
        {" JMP 2,Y", "186E02", ""},
        {" CLR ,X", "6F00", ""},
        {" STAA #5", "", "Error:Unexpected #"},
        {" LDAA X", "", "Error:Error in expression"},
        {" JSR $1234", "BD1234", ""},
        {" JSR $12", "9D12", ""},
        {" ABY", "183A", ""},
        {" XGDY", "188F", ""},
        {" TEST", "00", ""},
        {" X", "", "Unsupported:Instruction not supported yet"},
    };
    CheckCases(std::begin(cases), std::end(cases));
}

TEST(Encoding, BitOperationsAndBranches) {
    const EncodingCase cases[] = {
        {" BSET $10 $80", "141080", ""},
        {" BSET 4,X $01", "1C0401", ""},
        {" BCLR ,Y $FF", "181D00FF", ""},
        {" BSET $10,$80", "", "Error:Invalid indexed addressing mode"},
        {" BSET $110 $80", "141080", "Warning:Direct addressing overflow/underflow"},
        {"HERE BRSET $10 $01 HERE", "121001FC", ""},
        {"HERE BRCLR 2,Y $01 HERE", "181F0201FB", ""},
        {" BRA *", "20FE", ""},
        {"LOOP BRA #LOOP", "20FE", ""},
        {" BSR FAR\n RMB 127\nFAR NOP", "8D7F01", ""},
        {" BRA FAR\n RMB 128\nFAR NOP", "20", "Error:Branch address too far"},
        {"BACK RMB 126\n BNE BACK", "2680", ""},
        {"BACK RMB 127\n BNE BACK", "26", "Error:Branch address too far"},
    };
    CheckCases(std::begin(cases), std::end(cases));
}

TEST(Encoding, ForwardReferencesKeepTheirSizeAndHint) {
    const auto result = AssembleText(" LDAA LATER\n ORG $40\nLATER NOP");
    EXPECT_EQ(result.Code(), "B6004001");
    ASSERT_EQ(result.Messages.size(), 1u);
    EXPECT_EQ(result.Messages[0].Text, "Hint:Extended addressing used for short address");
    EXPECT_EQ(result.Messages[0].Kind, AsmHint);
    EXPECT_FALSE(result.Success == false);

    // A forward reference that ends the file leaves the remembered position past the last
    // token; both passes must find it there.
    const auto atEnd = AssembleText("LATER EQU $10\n STAA LATER");
    EXPECT_EQ(atEnd.Code(), "9710");
}

// A label that is still unresolved in pass 2 (defined while the location counter was
// unknown) must never assemble silently to a wrong value.
TEST(Encoding, AValueStillUnknownInPassTwoIsAPhasingError) {
    const char* operands[] = {
        " JMP L", " LDAA #L", " LDAA L", " LDAA L,X", " BSET L $01", " BSET 0 L",
        " BRA L", " FDB L",   " FCB L",  " RMB L",    " ORG L",      "E EQU L",
    };
    for (const char* operand : operands) {
        const std::string source = std::string(operand) + "\n ORG U\nU EQU L\nL NOP";
        const auto result = AssembleText(source);
        EXPECT_FALSE(result.Success) << operand;
        EXPECT_TRUE(result.FirstMessage() == "Error:Phasing error" ||
                    result.FirstMessage() == "Error:Address unknown at branch")
            << operand << ": " << result.FirstMessage();
    }
}

} // namespace
} // namespace corvid
