// The shipped quick help file, hc11.qhp, checked against the assembler's own word table and
// the independent instruction-set table: the status line must never show help for a word the
// assembler does not know, miss one it knows, or name addressing modes the chip lacks.

#include "assembler/hc11_assembler.h"
#include "foundation/case_fold.h"
#include "parsing/asm_tokens.h"
#include "simulator/register_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {
namespace {

const std::string QuickHelpFileName = CORVID_SOURCE_DIR "/data/hc11.qhp";
const std::string IsaFileName = CORVID_SOURCE_DIR "/tests/assembler/hc11_isa.csv";

std::vector<std::string> ReadLines(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + fileName);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t found = text.find(separator, start);
        parts.emplace_back(text.substr(start, found - start));
        if (found == std::string_view::npos)
            return parts;
        start = found + separator.size();
    }
}

std::string_view FirstWord(std::string_view line) {
    return line.substr(0, line.find(' '));
}

// What follows the first word and the blanks after it.
std::string_view AfterFirstWord(std::string_view line) {
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos)
        return {};
    const size_t text = line.find_first_not_of(' ', blank);
    return text == std::string_view::npos ? std::string_view{} : line.substr(text);
}

// A minimal reader of the quick help format, as the IDE loads it.
struct TQuickHelpFile {
    struct TEntry {
        std::string Word;
        std::string Text;
    };
    struct TTopic {
        std::string Title;
        std::vector<std::string> Lines;
    };
    std::vector<TEntry> Entries;
    std::vector<TTopic> Topics;
    // Lines the loader would drop without a word: unknown directives, text outside a topic.
    std::vector<std::string> Dropped;

    const TTopic* FindTopic(std::string_view titleStart) const {
        for (const TTopic& topic : Topics)
            if (topic.Title.starts_with(titleStart))
                return &topic;
        return nullptr;
    }
};

TQuickHelpFile ParseQuickHelp(const std::vector<std::string>& lines) {
    TQuickHelpFile help;
    TQuickHelpFile::TTopic* topic = nullptr;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] != ':') {
            if (topic)
                topic->Lines.push_back(line);
            else
                help.Dropped.push_back(line);
            continue;
        }
        const std::string_view directive = FirstWord(line);
        const std::string_view rest = AfterFirstWord(line);
        if (directive == ":Title") {
            topic = &help.Topics.emplace_back(TQuickHelpFile::TTopic{std::string(rest), {}});
        } else if (directive == ":LineHelp") {
            help.Entries.push_back(
                {std::string(FirstWord(rest)), std::string(AfterFirstWord(rest))});
            topic = nullptr;
        } else {
            help.Dropped.push_back(line);
        }
    }
    return help;
}

// One addressing mode of a mnemonic in hc11_isa.csv, with its condition-code effects.
struct TIsaRow {
    std::string Mode;
    std::vector<std::string> Flags; // S X H I N Z V C: '-', '*', '0', '1' or "down"
};

constexpr int IsaFlagColumn = 5;
constexpr std::string_view FlagNames = "SXHINZVC";

std::map<std::string, std::vector<TIsaRow>> ReadIsaTable() {
    std::map<std::string, std::vector<TIsaRow>> rows;
    const std::vector<std::string> lines = ReadLines(IsaFileName);
    for (size_t index = 1; index < lines.size(); ++index) {
        if (lines[index].empty())
            continue;
        // Only the last column may be quoted and hold commas; the ones read here come first.
        const std::vector<std::string> fields = Split(lines[index], ",");
        if (fields.size() < IsaFlagColumn + FlagNames.size())
            throw std::runtime_error("short row in " + IsaFileName + ": " + lines[index]);
        rows[fields[0]].push_back(
            {fields[1],
             {fields.begin() + IsaFlagColumn,
              fields.begin() + IsaFlagColumn + static_cast<int>(FlagNames.size())}});
    }
    return rows;
}

// How the line help writes each mode of the table, in the order it lists them.
struct TModeForm {
    std::string_view IsaMode;
    std::string_view Form;
};

constexpr TModeForm ModeForms[] = {
    {"IMM8", "#i"},
    {"IMM16", "#i"},
    {"DIR", "d"},
    {"EXT", "e"},
    {"INDX", "i,X"},
    {"INDY", "i,Y"},
    {"REL", "rel"},
    {"BIT_DIR", "d m"},
    {"BIT_INDX", "i,X m"},
    {"BIT_INDY", "i,Y m"},
    {"BRBIT_DIR", "d m rel"},
    {"BRBIT_INDX", "i,X m rel"},
    {"BRBIT_INDY", "i,Y m rel"},
    {"INH", "inh"},
};

std::vector<std::string> ExpectedModeForms(const std::vector<TIsaRow>& rows) {
    std::vector<std::string> forms;
    for (const TModeForm& form : ModeForms)
        for (const TIsaRow& row : rows)
            if (row.Mode == form.IsaMode)
                forms.emplace_back(form.Form);
    return forms;
}

// Forms of more than one word (bit operations) are listed with ", " between them.
std::vector<std::string> WrittenModeForms(const std::string& field) {
    return Split(field, field.find(", ") != std::string::npos ? ", " : " ");
}

std::string ExpectedFlags(const TIsaRow& row) {
    std::string text;
    for (size_t index = 0; index < FlagNames.size(); ++index) {
        const std::string& effect = row.Flags[index];
        if (effect == "-")
            continue;
        text += text.empty() ? "" : " ";
        text += FlagNames[index];
        if (effect == "0" || effect == "1")
            text += "=" + effect;
        else if (effect == "down")
            text += "(clear only)";
    }
    return "CCR: " + (text.empty() ? "-" : text);
}

// The table lists CMPD's opcodes under CPD only.
std::string IsaNameOf(const std::string& mnemonic) {
    return mnemonic == "CMPD" ? "CPD" : mnemonic;
}

class QuickHelpFile : public ::testing::Test {
protected:
    const std::vector<std::string> Lines = ReadLines(QuickHelpFileName);
    const TQuickHelpFile Help = ParseQuickHelp(Lines);

    // Upper-cased mnemonic names of the assembler's instruction table.
    static std::set<std::string> AssemblerMnemonics() {
        std::map<int, std::string> names;
        for (const TParserReservedWord* word : TAsmIdentifierReservedParserObject().Words)
            names[word->Id] = UpperCase(word->Name);
        std::set<std::string> mnemonics;
        for (const TIns* instruction : THC11Assembler().Instructions)
            mnemonics.insert(names.at(instruction->Mnemonic));
        return mnemonics;
    }

    static std::set<std::string> AssemblerDirectives() {
        std::set<std::string> directives;
        for (const TParserReservedWord* word : TAsmIdentifierReservedParserObject().Words)
            if (word->Id >= AsmDirectiveOrg && word->Id <= AsmDirectiveEnd)
                directives.insert(UpperCase(word->Name));
        return directives;
    }
};

TEST_F(QuickHelpFile, HasOneEntryForEveryMnemonicAndDirectiveAndNoOther) {
    std::set<std::string> expected = AssemblerMnemonics();
    ASSERT_EQ(expected.size(), 146u);
    const std::set<std::string> directives = AssemblerDirectives();
    ASSERT_EQ(directives.size(), 7u);
    expected.insert(directives.begin(), directives.end());

    std::map<std::string, int> counts;
    for (const TQuickHelpFile::TEntry& entry : Help.Entries) {
        ++counts[UpperCase(entry.Word)];
        EXPECT_FALSE(std::ranges::any_of(entry.Word, [](char c) { return c >= 'A' && c <= 'Z'; }))
            << entry.Word << " is not in lower case";
        EXPECT_FALSE(entry.Text.empty()) << entry.Word;
    }
    for (const std::string& word : expected)
        EXPECT_EQ(counts[word], 1) << word;
    for (const auto& [word, count] : counts)
        EXPECT_TRUE(expected.contains(word)) << word << " is no mnemonic or directive";
}

TEST_F(QuickHelpFile, InstructionLinesNameTheModesAndFlagsOfTheInstructionSetTable) {
    const auto isa = ReadIsaTable();
    const std::set<std::string> mnemonics = AssemblerMnemonics();
    for (const TQuickHelpFile::TEntry& entry : Help.Entries) {
        const std::string mnemonic = UpperCase(entry.Word);
        if (!mnemonics.contains(mnemonic))
            continue;
        const auto rows = isa.find(IsaNameOf(mnemonic));
        ASSERT_NE(rows, isa.end()) << mnemonic << " is missing from " << IsaFileName;
        const std::vector<std::string> fields = Split(entry.Text, " | ");
        ASSERT_EQ(fields.size(), 3u) << "what it does | modes | flags: " << entry.Text;

        EXPECT_EQ(WrittenModeForms(fields[1]), ExpectedModeForms(rows->second)) << mnemonic;
        for (const TIsaRow& row : rows->second)
            EXPECT_EQ(fields[2], ExpectedFlags(row)) << mnemonic << " " << row.Mode;
    }
}

TEST_F(QuickHelpFile, LinesFitTheStatusLineAndHoldNoTabs) {
    for (size_t index = 0; index < Lines.size(); ++index) {
        const std::string& line = Lines[index];
        EXPECT_LE(line.size(), 120u) << "line " << index + 1 << ": " << line;
        EXPECT_EQ(line.find('\t'), std::string::npos) << "line " << index + 1;
    }
}

TEST_F(QuickHelpFile, EveryTopicHasATitleAndTextAndNoLineIsDropped) {
    for (const TQuickHelpFile::TTopic& topic : Help.Topics) {
        EXPECT_FALSE(topic.Title.empty());
        EXPECT_FALSE(topic.Lines.empty()) << topic.Title;
    }
    EXPECT_EQ(Help.Dropped, std::vector<std::string>{});
    const char* const titles[] = {"Addressing modes", "Directives and expressions",
                                  "Register block", "Interrupt vectors", "BUFFALO commands"};
    for (const char* title : titles)
        EXPECT_NE(Help.FindTopic(title), nullptr) << title;
}

// The lookup at the caret stops at the first entry whose whole word matches, so "asla" would
// find "asl" if "asl" came first.
TEST_F(QuickHelpFile, AnEntryComesBeforeEveryEntryThatBeginsItsWord) {
    const auto& entries = Help.Entries;
    for (size_t later = 0; later < entries.size(); ++later)
        for (size_t earlier = 0; earlier < later; ++earlier) {
            const std::string& prefix = entries[earlier].Word;
            const std::string& word = entries[later].Word;
            EXPECT_FALSE(prefix.size() < word.size() &&
                         SameText(prefix, std::string_view(word).substr(0, prefix.size())))
                << word << " comes after " << prefix;
        }
}

TEST_F(QuickHelpFile, RegisterBlockGivesEachRegisterItsAddress) {
    struct TRegister {
        std::string_view Name;
        int Offset;
    };
    const TRegister registers[] = {
        {"PORTA", Reg::PORTA},   {"PIOC", Reg::PIOC},     {"PORTC", Reg::PORTC},
        {"PORTB", Reg::PORTB},   {"PORTCL", Reg::PORTCL}, {"DDRC", Reg::DDRC},
        {"PORTD", Reg::PORTD},   {"DDRD", Reg::DDRD},     {"PORTE", Reg::PORTE},
        {"CFORC", Reg::CFORC},   {"OC1M", Reg::OC1M},     {"OC1D", Reg::OC1D},
        {"TCNT", Reg::TCNT},     {"TIC1", Reg::TIC1},     {"TIC2", Reg::TIC2},
        {"TIC3", Reg::TIC3},     {"TOC1", Reg::TOC1},     {"TOC2", Reg::TOC2},
        {"TOC3", Reg::TOC3},     {"TOC4", Reg::TOC4},     {"TI4O5", Reg::TI4O5},
        {"TCTL1", Reg::TCTL1},   {"TCTL2", Reg::TCTL2},   {"TMSK1", Reg::TMSK1},
        {"TFLG1", Reg::TFLG1},   {"TMSK2", Reg::TMSK2},   {"TFLG2", Reg::TFLG2},
        {"PACTL", Reg::PACTL},   {"PACNT", Reg::PACNT},   {"SPCR", Reg::SPCR},
        {"SPSR", Reg::SPSR},     {"SPDR", Reg::SPDR},     {"BAUD", Reg::BAUD},
        {"SCCR1", Reg::SCCR1},   {"SCCR2", Reg::SCCR2},   {"SCSR", Reg::SCSR},
        {"SCDR", Reg::SCDR},     {"ADCTL", Reg::ADCTL},   {"ADR1", Reg::ADR1},
        {"ADR2", Reg::ADR1 + 1}, {"ADR3", Reg::ADR1 + 2}, {"ADR4", Reg::ADR4},
        {"BPROT", Reg::BPROT},   {"OPTION", Reg::OPTION}, {"COPRST", Reg::COPRST},
        {"PPROG", Reg::PPROG},   {"HPRIO", Reg::HPRIO},   {"INIT", Reg::INIT},
        {"TEST1", Reg::TEST1},   {"CONFIG", Reg::CONFIG},
    };
    const TQuickHelpFile::TTopic* topic = Help.FindTopic("Register block");
    ASSERT_NE(topic, nullptr);
    std::map<std::string, std::vector<std::string>> listed; // name -> "$10xx" of its lines
    for (const std::string& line : topic->Lines)
        if (line.starts_with("$10") && line.size() > 6 && line[5] == ' ')
            listed[std::string(FirstWord(AfterFirstWord(line)))].push_back(line.substr(0, 5));
    for (const TRegister& reg : registers) {
        std::ostringstream address;
        address << '$' << std::hex << std::uppercase << 0x1000 + reg.Offset;
        const auto found = listed.find(std::string(reg.Name));
        EXPECT_EQ(found == listed.end() ? std::vector<std::string>{} : found->second,
                  std::vector<std::string>{address.str()})
            << reg.Name;
    }
    for (const auto& [name, addresses] : listed)
        EXPECT_TRUE(
            std::ranges::any_of(registers, [&](const TRegister& reg) { return reg.Name == name; }))
            << name << " is no register of the block";
}

} // namespace
} // namespace corvid
