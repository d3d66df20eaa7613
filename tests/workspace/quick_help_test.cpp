#include "workspace/quick_help.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace corvid {
namespace {

constexpr const char* HelpText = "; comment\r\n"
                                 ":Title Addressing\r\n"
                                 "immediate: #value\r\n"
                                 "\r\n"
                                 "direct: page 0\r\n"
                                 ":LineHelp ldaa   Load A | #i d e\r\n"
                                 "stray line after the line help\r\n"
                                 ":Unknown directive\r\n"
                                 ":LineHelp ldab Load B\n"
                                 ":Title Registers\n"
                                 "PORTB $1004\n";

TEST(QuickHelp, ReadsTopicsAndLineHelp) {
    TQuickHelp help;
    help.LoadFromText(HelpText, "/data/hc11.qhp");
    ASSERT_EQ(help.Entries.Count(), 2);
    EXPECT_EQ(help.Entries[0]->Word, "ldaa");
    EXPECT_EQ(help.Entries[0]->Text, "Load A | #i d e");
    EXPECT_EQ(help.Entries[1]->Text, "Load B");
    ASSERT_EQ(help.Topics.Count(), 3);
    EXPECT_EQ(help.Topics[0]->Title, "Addressing");
    EXPECT_EQ(help.Topics[0]->Lines,
              (std::vector<std::string>{"immediate: #value", "direct: page 0"}));
    EXPECT_EQ(help.Topics[1]->Title, "Line Help For \"/data/hc11.qhp\"");
    EXPECT_EQ(help.Topics[1]->Lines,
              (std::vector<std::string>{"ldaa   Load A | #i d e", "ldab Load B"}));
    EXPECT_EQ(help.Topics[2]->Lines, (std::vector<std::string>{"PORTB $1004"}));
}

TEST(QuickHelp, LookupTakesTheLongestCommonStartAndTheEarlierOnATie) {
    TQuickHelp help;
    help.LoadFromText(HelpText, "h");
    const struct {
        const char* line;
        int column;
        const char* word; // "" for none
    } cases[] = {
        {"  LDAB #1", 4, "ldab"}, // inside the word
        {"  ldab #1", 2, "ldab"}, // at its start
        {"  ldx #1", 3, "ldaa"},  // two characters in common with both: the first
        {"  xgdx", 4, ""},        // nothing in common
        {"", 0, ""},
        {"  ldaa", 40, "ldaa"}, // past the end: the last character's word
    };
    for (const auto& c : cases) {
        const TQuickHelpEntry* entry = help.Lookup(c.line, c.column);
        EXPECT_EQ(entry ? entry->Word : "", c.word) << c.line << " @" << c.column;
    }
}

TEST(QuickHelp, AMissingFileLeavesTheHelpEmpty) {
    TQuickHelp help;
    help.LoadFromText(HelpText, "h");
    help.LoadFromFile("/nonexistent/hc11.qhp");
    EXPECT_EQ(help.Entries.Count(), 0);
    EXPECT_EQ(help.Topics.Count(), 0);
}

TEST(QuickHelp, TheShippedFileLoads) {
    TQuickHelp help;
    help.LoadFromFile(CORVID_SOURCE_DIR "/data/hc11.qhp");
    EXPECT_GT(help.Entries.Count(), 150);
    const TQuickHelpEntry* entry = help.Lookup("        LDX     #REGS", 9);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Word, "ldx");
    EXPECT_EQ(TQuickHelp::StatusText(*entry).rfind("ldx: ", 0), 0u);
}

} // namespace
} // namespace corvid
