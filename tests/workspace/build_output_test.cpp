#include "workspace/build_output.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

TEST(BuildOutput, MessageLinesListingLinesAndTheRest) {
    const TBuildOutput output = ParseBuildOutput(
        {
            "12: undefined symbol",   // a message
            "0: not a message",       // line 0
            "abcdefg: colon too far", // the colon at position 8
            "0012 F800  86 05   LDAA #5", "0013 F802  B7 10 00",
            "0014 F805", // no code byte
            "Errors: 1", // the colon at position 7: shown only
        },
        "prog.c");
    ASSERT_EQ(output.Messages.size(), 1u);
    EXPECT_EQ(output.Messages[0].Text, "prog.c(12)  undefined symbol");
    EXPECT_EQ(output.Messages[0].ModuleName, "prog.c");
    EXPECT_EQ(output.Messages[0].Line, 12);
    EXPECT_FALSE(output.Succeeded);
    ASSERT_EQ(output.Marks.size(), 2u);
    EXPECT_EQ(output.Marks[0].Line, 11);
    EXPECT_EQ(output.Marks[0].Address, 0xF800);
    EXPECT_EQ(output.Marks[1].Address, 0xF802);
}

TEST(BuildOutput, WithoutMessagesTheBuildSucceeds) {
    const TBuildOutput output = ParseBuildOutput({"assembling", "", "done"}, "prog.asm");
    EXPECT_TRUE(output.Succeeded);
    EXPECT_TRUE(output.Messages.empty());
}

TEST(BuildOutput, AnUntitledFileGetsNoMessages) {
    EXPECT_TRUE(ParseBuildOutput({"3: text"}, "").Messages.empty());
}

} // namespace
} // namespace corvid
