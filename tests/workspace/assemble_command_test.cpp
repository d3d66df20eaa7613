#include "buffer_list_fixture.h"

#include "editor/bookmarks.h"
#include "workspace/asm_form.h"
#include "workspace/external_build.h"
#include "workspace/languages.h"
#include "workspace/message_list.h"

#include <thread>

namespace corvid::testing {
namespace {

class AssembleCommandTest : public BufferListTest {
protected:
    std::unique_ptr<TMessageList> Messages;
    std::unique_ptr<TAsmForm> Asm;
    std::vector<std::tuple<int, int, int>> Highlights;

    void SetUp() override {
        BufferListTest::SetUp();
        Messages = std::make_unique<TMessageList>(*Buffers, Host);
        Messages->HighlightRange = [this](int line, int column, int length) {
            Highlights.emplace_back(line, column, length);
        };
        Asm = std::make_unique<TAsmForm>(*Buffers, *Messages, Host);
        Asm->HighlightRange = Messages->HighlightRange;
    }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const TErrorBookmark* message : Messages->Messages)
            texts.push_back(message->Message);
        return texts;
    }

    std::vector<std::pair<int, int>> CodeMarks() const {
        std::vector<std::pair<int, int>> marks;
        for (const TTextEditorBookmark* bookmark : Buffers->CurrentBuffer().Bookmarks)
            if (auto* mark = dynamic_cast<const THC11SymbolBookmark*>(bookmark))
                marks.emplace_back(mark->Line(), mark->Address);
        return marks;
    }

    THC11SymbolBookmark* MarkOn(int line) const {
        for (TTextEditorBookmark* bookmark : Buffers->CurrentBuffer().Bookmarks)
            if (auto* mark = dynamic_cast<THC11SymbolBookmark*>(bookmark);
                mark && mark->Line() == line)
                return mark;
        return nullptr;
    }
};

TEST_F(AssembleCommandTest, AnErrorBecomesTheSelectedMessageAndMovesTheCaret) {
    const std::string file = WriteFile("prog.v2.asm", " ORG $100\n NOP\n NOP\n    LDAA UNKNOWN\n");
    OpenAll({file});
    EXPECT_FALSE(Asm->Assemble());
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"(4,10)Error:Undeclared identifier"}));
    const TErrorBookmark& message = *Messages->Messages[0];
    EXPECT_EQ(message.ModuleName, "prog.v2.asm");
    EXPECT_EQ(message.Line(), 4);
    EXPECT_EQ(message.Column(), 9);
    EXPECT_EQ(Editor.CaretLine(), 3);
    EXPECT_EQ(Editor.CaretColumn(), 9);
    EXPECT_EQ(Host.LastStatus(), "(4,10)Error:Undeclared identifier");
    EXPECT_TRUE(fs::exists(Dir / "prog.s19")) << "the object file is named up to the first '.'";
}

TEST_F(AssembleCommandTest, ACleanFileGivesCodeMarksAndTheMergedListing) {
    const std::string file = WriteFile("clean.asm", "* demo\n ORG $C000\nSTART LDAA #1\n RTS\n");
    OpenAll({file});
    EXPECT_TRUE(Asm->Assemble());
    EXPECT_TRUE(Messages->Messages.IsEmpty());
    EXPECT_EQ(CodeMarks(), (std::vector<std::pair<int, int>>{{2, 0xC000}, {3, 0xC002}}));
    ASSERT_GE(Messages->MakeOutput.size(), 6u);
    EXPECT_EQ(Messages->MakeOutput[0], "Make Output for \"" + file + "\"");
    const std::vector<std::string>& listing = Messages->MakeOutput;
    EXPECT_NE(
        std::find(listing.begin(), listing.end(), "Addr:C000 Op: 86 01            START LDAA #1"),
        listing.end());
    EXPECT_EQ(listing.back(), "START                          Addr:C000");
    EXPECT_EQ(Asm->StartAddress, 0xC000);
}

TEST_F(AssembleCommandTest, AHintAloneStillFailsTheCommand) {
    OpenAll({WriteFile("hint.asm", " LDAA LATER\nLATER EQU $40\n")});
    EXPECT_FALSE(Asm->Assemble());
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"(1,7)Hint:Extended addressing used for short address"}));
}

TEST_F(AssembleCommandTest, AnEmptyStringTokenErrorIsStillShown) {
    OpenAll({WriteFile("empty.asm", " LDAA #''\n")});
    EXPECT_FALSE(Asm->Assemble());
    ASSERT_EQ(Messages->Messages.Count(), 1);
    EXPECT_EQ(Asm->MessageLength, 1);
}

TEST_F(AssembleCommandTest, AnInternalFailureIsAFailureWithAPlainMessage) {
    OpenAll({WriteFile("overflow.asm", " FDB $80000000/-1\n")});
    EXPECT_FALSE(Asm->Assemble());
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"EVIL:Internal Assembler Error \"Integer overflow\""}));
    EXPECT_EQ(Messages->Messages[0]->Line(), 0);
}

TEST_F(AssembleCommandTest, BreakpointsSurviveOnLinesThatStillHaveCode) {
    OpenAll({WriteFile("bp.asm", " NOP\n NOP\n NOP\n")});
    ASSERT_TRUE(Asm->Assemble());
    MarkOn(0)->SetBreakpoint(true);
    MarkOn(2)->SetBreakpoint(true);
    Editor.DeleteText(2, 0, 4); // line 2 no longer produces code
    Editor.InsertText("; gone", 2, 0);
    Asm->MakeOutput();
    ASSERT_NE(MarkOn(0), nullptr);
    EXPECT_TRUE(MarkOn(0)->Breakpoint());
    EXPECT_EQ(MarkOn(2), nullptr);
    EXPECT_FALSE(MarkOn(1)->Breakpoint());
}

TEST_F(AssembleCommandTest, AutoAssembleSkipsTheListingAndRemarksTheMessage) {
    OpenAll({WriteFile("auto.asm", " NOP\n LDAA #$\n")});
    Asm->AutoAssemble = true;
    Asm->EditorMessage(1);
    EXPECT_TRUE(Asm->HasMessage);
    EXPECT_EQ(Messages->MakeOutput.size(), 4u) << "the source lines only, no label section";
    EXPECT_EQ(Messages->MakeOutput[1], std::string(31, ' ') + " NOP");
    Highlights.clear();
    Asm->EditorMessage(2);
    ASSERT_EQ(Highlights.size(), 1u);
    EXPECT_EQ(std::get<0>(Highlights[0]), 1);
}

TEST_F(AssembleCommandTest, MessagesLeadToTheirFilesOrSayWhy) {
    const std::string prog = WriteFile("prog.asm", " NOP\n NOP\n");
    OpenAll({prog});
    auto* message = new TErrorBookmark;
    message->SetPosition(2, 1);
    message->Message = "other.asm(2) text";
    message->ModuleName = "other.asm";
    Messages->AddMessage(message);
    EXPECT_FALSE(Messages->Select(0));
    EXPECT_EQ(Host.LastStatus(), "Error:Module Not Open other.asm");
    EXPECT_FALSE(Messages->Activate(0));
    EXPECT_EQ(Host.LastStatus(), "Error:Could Not Find Module other.asm");
    WriteFile("lib/other.asm", " NOP\n NOP\n");
    Options.SearchPath = (Dir / "lib").string() + "/;";
    const int focuses = Host.Focuses;
    EXPECT_TRUE(Messages->Activate(0));
    EXPECT_EQ(TBufferList::ShortName(Buffers->CurrentBuffer()), "other.asm");
    EXPECT_EQ(Editor.CaretLine(), 1);
    EXPECT_GT(Host.Focuses, focuses);
}

TEST_F(AssembleCommandTest, TheBuildScriptsOutputBecomesMessagesAndMarks) {
    const std::string prog = WriteFile("prog.asm", " NOP\n NOP\n");
    OpenAll({prog});
    const std::string script = WriteFile("compile.sh", "cat > compile.out <<'END'\n"
                                                       "assembling\n"
                                                       "0001 F800  01\n"
                                                       "0002 F801  01\n"
                                                       "2: something odd\n"
                                                       "END\n");
    TExternalBuild build(*Buffers, *Messages, Host);
    build.ScriptPath = script;
    bool shown = true;
    build.ShowResult = [&](bool succeeded) { shown = succeeded; };
    build.Start();
    EXPECT_EQ(Host.LastStatus(), "Compiling...");
    while (!build.Poll())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(shown);
    EXPECT_EQ(Host.LastStatus().rfind("Compile Failed In (", 0), 0u);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"prog.asm(2)  something odd"}));
    EXPECT_EQ(CodeMarks(), (std::vector<std::pair<int, int>>{{0, 0xF800}, {1, 0xF801}}));
    EXPECT_EQ(Messages->MakeOutput.size(), 4u);
}

TEST_F(AssembleCommandTest, AScriptThatCannotStartSaysSo) {
    TExternalBuild build(*Buffers, *Messages, Host);
    build.ScriptPath = "";
    build.Start();
    EXPECT_EQ(Host.LastStatus(), "Error Running \"\"");
    EXPECT_FALSE(build.Running());
}

TEST(Languages, FilesTakeTheFirstLanguageWhoseMasksMatch) {
    TLanguageTable table(nullptr);
    const struct {
        const char* file;
        const char* language;
    } cases[] = {{"prog.H", "C++"},        {"prog.c", "C++"},        {"unit.pas", "Pascal"},
                 {"/x/blink.asm", "HC11"}, {"notes.txt", "Default"}, {"README", "Default"},
                 {"", "Default"}};
    for (const auto& c : cases) {
        const TLanguage* language = table.ForFile(c.file);
        ASSERT_NE(language, nullptr) << c.file;
        EXPECT_EQ(language->Name, c.language) << c.file;
    }
    EXPECT_EQ(table.OpenFilter(),
              "Source Files (*.asm)|*.asm|Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
}

TEST(Languages, Hc11KnowsEveryMnemonicAndColoursItsComments) {
    TLanguageTable table(nullptr);
    const TTextEditorMultiFileInfo& hc11 = table.ForFile("a.asm")->Settings;
    EXPECT_EQ(hc11.ReservedWords.Count(), 147); // rmb and the 146 mnemonics
    const TCharSet words = TCharSet::WordCharacters();
    EXPECT_NE(hc11.ReservedWords.Match("brclr $10", 0, words, false), nullptr);
    EXPECT_NE(hc11.ReservedWords.Match("LDAA", 0, words, false), nullptr);
    EXPECT_EQ(hc11.ReservedWords.Match("LDAAX", 0, words, false), nullptr);
    EXPECT_EQ(hc11.LineCommentStart[0], "*");
    EXPECT_EQ(hc11.LineCommentColumn[0], 1);
    const TTextEditorMultiFileInfo& cpp = table.ForFile("a.cpp")->Settings;
    EXPECT_TRUE(cpp.CaseSensitive);
    EXPECT_EQ(cpp.ReservedWords.Match("#include <x>", 0, words, true)->Colours.Text, AquaColor);
}

} // namespace
} // namespace corvid::testing
