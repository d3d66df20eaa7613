#include "workspace/buffer_list.h"

#include "buffer_list_fixture.h"
#include "workspace/buffer_list_dialog.h"
#include "workspace/disk_file.h"
#include "workspace/file_information.h"

#include <ctime>
#include <sys/stat.h>

namespace corvid::testing {
namespace {

// --- Quick open -----------------------------------------------------------------------------

TEST_F(BufferListTest, QuickOpenTriesOnlyThePrefixesFollowedBySemicolons) {
    const std::string one = WriteFile("first/one.asm", "1");
    WriteFile("second/two.asm", "2");
    const std::string joined = WriteFile("first/lib_three.asm", "3");
    Options.SearchPath = PathOf("first/") + ";" + PathOf("first/lib_") + ";" + PathOf("second/");
    const struct {
        const char* name;
        const char* status;
        std::string opened;
    } cases[] = {
        {"one.asm", "Quick Opened \"one.asm\"", one},
        {"two.asm", "Quick Open Could Not Find \"two.asm\"", ""},
        {"three.asm", "Quick Opened \"three.asm\"", joined},
        {"", "Quick Open Could Not Find \"\"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int count = Buffers->Count();
        Host.QuickOpenNames.push_back(c.name);
        Buffers->QuickOpen();
        EXPECT_EQ(Host.LastStatus(), c.status);
        if (c.opened.empty()) {
            EXPECT_EQ(Buffers->Count(), count);
        } else {
            EXPECT_EQ(Buffers->CurrentBuffer().FileName, c.opened);
        }
    }
}

TEST_F(BufferListTest, QuickOpenShowsAnOpenBufferOfThatShortName) {
    const std::string one = WriteFile("elsewhere/one.asm", "1");
    OpenAll({one, WriteFile("b", "")});
    Options.SearchPath = PathOf("") + ";";
    Host.QuickOpenNames = {"one.asm", "ONE.asm", std::nullopt};
    Buffers->QuickOpen();
    EXPECT_EQ(Buffers->Count(), 2);
    EXPECT_EQ(Buffers->CurrentIndex(), 0);
    EXPECT_EQ(Host.LastStatus(), "Quick Opened \"one.asm\"");
    Buffers->QuickOpen();
    EXPECT_EQ(Host.LastStatus(), "Quick Open Could Not Find \"ONE.asm\"")
        << "file names differ in letter case";
    const size_t statuses = Host.Statuses.size();
    Buffers->QuickOpen();
    EXPECT_EQ(Host.Statuses.size(), statuses) << "a cancelled dialog says nothing";
}

// --- Header and body ----------------------------------------------------------------------

TEST_F(BufferListTest, ToggleHeaderBodyFindsTheCounterpart) {
    const struct {
        const char* current;
        std::vector<const char*> existing;
        const char* shown; // empty: the status instead
        const char* status;
    } cases[] = {
        {"m.c", {"m.h"}, "m.h", nullptr},     {"m.cpp", {"m.hpp", "m.h"}, "m.hpp", nullptr},
        {"m.C", {"m.h"}, "m.h", nullptr},     {"m.x.CPP", {"m.x.h"}, "m.x.h", nullptr},
        {"m.h", {"m.c"}, "m.c", nullptr},     {"m.hpp", {"m.cpp", "m.c"}, "m.cpp", nullptr},
        {"m.c", {}, "", "Header Not Found"},  {"m.h", {}, "", "Body Not Found"},
        {"m.asm", {"m.h"}, "m.asm", nullptr},
    };
    int caseNumber = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        const std::string folder = "case" + std::to_string(++caseNumber) + "/";
        for (const char* name : c.existing)
            WriteFile(folder + name, name);
        OpenAll({WriteFile(folder + c.current, "")});
        const size_t statuses = Host.Statuses.size();
        Buffers->ToggleHeaderBody();
        if (c.status) {
            EXPECT_EQ(Host.LastStatus(), c.status);
            EXPECT_EQ(Buffers->CurrentBuffer().FileName, PathOf(folder + c.current));
        } else {
            EXPECT_EQ(Buffers->CurrentBuffer().FileName, PathOf(folder + c.shown));
            if (std::string(c.shown) == c.current) {
                EXPECT_EQ(Host.Statuses.size(), statuses);
            }
        }
    }
}

TEST_F(BufferListTest, ToggleHeaderBodyShowsAnAlreadyOpenCounterpart) {
    const std::string body = WriteFile("m.c", "");
    const std::string header = WriteFile("m.h", "");
    OpenAll({body});
    Buffers->ToggleHeaderBody();
    Buffers->ToggleHeaderBody();
    EXPECT_EQ(Buffers->Count(), 2);
    EXPECT_EQ(Buffers->CurrentBuffer().FileName, body);
    Buffers->ToggleHeaderBody();
    EXPECT_EQ(Buffers->Count(), 2);
    EXPECT_EQ(Buffers->CurrentBuffer().FileName, header);
}

// --- Going to, swapping and dragging files -----------------------------------------------

TEST_F(BufferListTest, GotoFileSelectsByNumberAndIgnoresMissingOnes) {
    OpenAll({WriteFile("a", ""), WriteFile("b", ""), WriteFile("c", "")});
    const struct {
        std::function<void()> command;
        int current;
    } steps[] = {
        {[&] { Buffers->GotoFile(2); }, 1},        {[&] { Buffers->GotoFile(9); }, 1},
        {[&] { Buffers->GotoFile(0); }, 1},        {[&] { Buffers->GotoFile(1); }, 0},
        {[&] { Buffers->GotoPreviousFile(); }, 0}, {[&] { Buffers->GotoNextFile(); }, 1},
        {[&] { Buffers->GotoNextFile(); }, 2},     {[&] { Buffers->GotoNextFile(); }, 2},
    };
    for (const auto& step : steps) {
        step.command();
        EXPECT_EQ(Buffers->CurrentIndex(), step.current);
        EXPECT_EQ(&Editor.File(), &Buffers->CurrentBuffer());
    }
}

// Buffers named by single letters; marked ones and the current one are the targets.
class TabOrderTest : public BufferListTest {
protected:
    void Arrange(const std::string& order, const std::string& marked, char current) {
        std::vector<std::string> paths;
        for (const char name : order)
            paths.push_back(WriteFile(std::string(1, name), ""));
        OpenAll(paths);
        for (const char name : marked)
            Buffers->SetMarked(static_cast<int>(order.find(name)), true);
        Buffers->Select(static_cast<int>(order.find(current)));
    }

    std::string Order() const {
        std::string order;
        for (const std::string& name : ShortNames())
            order += name;
        return order;
    }

    char CurrentName() const { return TBufferList::ShortName(Buffers->CurrentBuffer())[0]; }
};

TEST_F(TabOrderTest, SwapMovesEachTargetPastItsNeighbour) {
    const struct {
        bool up;
        const char* marked;
        char current;
        const char* expected;
    } cases[] = {
        {true, "", 'b', "acbd"},   {true, "a", 'c', "badc"},  {true, "b", 'c', "adbc"},
        {true, "c", 'd', "abcd"},  {true, "", 'd', "abcd"},   {false, "", 'c', "acbd"},
        {false, "b", 'd', "badc"}, {false, "a", 'b', "abcd"}, {false, "", 'a', "abcd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.up ? "up " : "down ") + c.marked + "+" + c.current);
        Buffers = std::make_unique<TBufferList>(Editor, Host, Options);
        Arrange("abcd", c.marked, c.current);
        if (c.up)
            Buffers->SwapFileUp();
        else
            Buffers->SwapFileDown();
        EXPECT_EQ(Order(), c.expected);
        EXPECT_EQ(CurrentName(), c.current) << "the current buffer stays current";
        EXPECT_EQ(&Editor.File(), &Buffers->CurrentBuffer());
        for (const char name : std::string(c.marked))
            EXPECT_TRUE(Buffers->IsMarked(static_cast<int>(Order().find(name))))
                << "marks move with their buffers";
    }
}

TEST_F(TabOrderTest, DroppingMovesTheTargetsToTheTabKeepingTheirOrder) {
    const struct {
        const char* marked;
        char current;
        int dropOn;
        const char* expected;
    } cases[] = {
        {"", 'a', 2, "bcade"},  {"", 'c', 0, "cabde"},  {"a", 'c', 3, "bdace"},
        {"e", 'b', 2, "acbed"}, {"d", 'e', 1, "adebc"}, {"a", 'c', 0, "abcde"},
        {"", 'c', 2, "abcde"},  {"", 'c', 5, "abcde"},  {"", 'c', -1, "abcde"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.marked) + "+" + c.current + " on " + std::to_string(c.dropOn));
        Buffers = std::make_unique<TBufferList>(Editor, Host, Options);
        Arrange("abcde", c.marked, c.current);
        Buffers->MoveTargetsTo(c.dropOn);
        EXPECT_EQ(Order(), c.expected);
        EXPECT_EQ(CurrentName(), c.current);
        EXPECT_EQ(&Editor.File(), &Buffers->CurrentBuffer());
    }
}

// --- Finding buffers by name ----------------------------------------------------------------

TEST_F(BufferListTest, ActivationComparesNamesExactly) {
    const std::string a = WriteFile("a.asm", "");
    const std::string b = WriteFile("sub/b.asm", "");
    fs::create_symlink(a, Dir / "link.asm");
    OpenAll({a, b, WriteFile("c.asm", "")});
    const struct {
        const char* name;
        std::function<bool(const std::string&)> activate;
        std::string argument;
        int found; // -1: not found, current unchanged
    } cases[] = {
        {"path through ..", [&](auto& n) { return Buffers->ActivateByPath(n); },
         PathOf("sub/../a.asm"), 0},
        {"path through a link", [&](auto& n) { return Buffers->ActivateByPath(n); },
         PathOf("link.asm"), 0},
        {"path in other case", [&](auto& n) { return Buffers->ActivateByPath(n); }, PathOf("A.asm"),
         -1},
        {"short name", [&](auto& n) { return Buffers->ActivateByFileName(n); }, "b.asm", 1},
        {"short name in other case", [&](auto& n) { return Buffers->ActivateByFileName(n); },
         "B.asm", -1},
        {"short name of no file", [&](auto& n) { return Buffers->ActivateByFileName(n); },
         "Untitled", -1},
        {"whole name", [&](auto& n) { return Buffers->ActivateByName(n); }, b, 1},
        {"whole name, not as stored", [&](auto& n) { return Buffers->ActivateByName(n); },
         PathOf("sub/../a.asm"), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Buffers->Select(2);
        EXPECT_EQ(c.activate(c.argument), c.found >= 0);
        EXPECT_EQ(Buffers->CurrentIndex(), c.found >= 0 ? c.found : 2);
    }
    EXPECT_EQ(Buffers->FindBuffer(b), &Buffers->Buffer(1));
    EXPECT_EQ(Buffers->FindBuffer(PathOf("SUB/b.asm")), nullptr);
}

TEST_F(BufferListTest, EditShowsTheOpenBufferOrOpensTheFile) {
    const std::string a = WriteFile("a.asm", "");
    OpenAll({a, WriteFile("b.asm", "")});
    Buffers->Edit(PathOf("sub/../a.asm"));
    EXPECT_EQ(Buffers->Count(), 2);
    EXPECT_EQ(Buffers->CurrentIndex(), 0);
    Buffers->Edit(PathOf("c.asm"));
    EXPECT_EQ(Buffers->Count(), 3);
    EXPECT_EQ(Buffers->CurrentBuffer().FileName, PathOf("c.asm"));
}

// --- The buffer list dialog ------------------------------------------------------------------

TEST_F(BufferListTest, BufferListDialogShowsSavesAndClosesBuffers) {
    OpenAll({WriteFile("a.asm", "a"), WriteFile("b.asm", "b"), WriteFile("c.asm", "c")});
    Modify(1);
    WriteFile("a.asm", "outside");
    Host.BufferListDialog = [&](TBufferListDialog& dialog) {
        EXPECT_EQ(dialog.Lines(), (std::vector<std::string>{" a.asm", "*b.asm", " c.asm"}));
        EXPECT_EQ(dialog.CurrentLine(), 1);
        dialog.View(2);
        EXPECT_EQ(Buffers->CurrentIndex(), 2);
        dialog.Save({0, 1});
        EXPECT_EQ(ReadFile(PathOf("a.asm")), "a") << "saved although unmodified";
        EXPECT_EQ(ReadFile(PathOf("b.asm")), "changed b");
        EXPECT_EQ(dialog.Lines(), (std::vector<std::string>{" a.asm", " b.asm", " c.asm"}));
        dialog.Close({2, 0});
        EXPECT_EQ(dialog.Lines(), (std::vector<std::string>{" b.asm"}));
        EXPECT_EQ(Host.LastStatus(), "Closed " + Quoted(PathOf("a.asm")));
    };
    Buffers->ShowBufferList();
}

// --- The file information dialog ------------------------------------------------------------

TEST_F(BufferListTest, FileInformationListsTheTargetsAndTheFirstFileOnDisk) {
    const std::string hidden = WriteFile(".hidden.asm", "12345");
    OpenAll({hidden, PathOf("nowhere.asm")});
    Buffers->FormatFileTime = [](int64_t nanoseconds) { return "@" + std::to_string(nanoseconds); };
    fs::permissions(hidden, fs::perms::owner_write, fs::perm_options::remove);
    Buffers->SetMarked(0, true);
    Buffers->CurrentBuffer().Password = "pw";
    Host.FileInformationDialog = [&](TFileInformation& information) {
        const std::string name = Buffers->Buffer(0).FileName;
        ASSERT_GE(name.size(), 32u);
        EXPECT_EQ(information.Lines,
                  (std::vector<std::string>{name + " " + "       5 @" +
                                                std::to_string(StatDiskFile(hidden)->Time),
                                            PathOf("nowhere.asm") + " not on disk"}));
        EXPECT_TRUE(information.ReadOnly.Checked);
        EXPECT_TRUE(information.ReadOnly.Enabled);
        EXPECT_TRUE(information.Hidden.Checked);
        EXPECT_FALSE(information.Hidden.Enabled);
        EXPECT_FALSE(information.System.Checked || information.System.Enabled);
        EXPECT_FALSE(information.Archive.Checked || information.Archive.Enabled);
        EXPECT_EQ(information.Password, "pw") << "the current buffer's";
        EXPECT_EQ(information.Confirmation, "pw");
    };
    Buffers->FileInformation();
}

TEST_F(BufferListTest, FileInformationLinesPadShortNames) {
    Buffers->FormatFileTime = [](int64_t) { return "then"; };
    Host.FileInformationDialog = [&](TFileInformation& information) {
        EXPECT_EQ(information.Lines,
                  std::vector<std::string>{"Untitled" + std::string(24, ' ') + "not on disk"});
        EXPECT_FALSE(information.ReadOnly.Enabled) << "no target on disk";
        EXPECT_FALSE(information.Hidden.Enabled);
        EXPECT_EQ(information.FileType, TFileType::Dos);
    };
    Buffers->FileInformation();
}

TEST_F(BufferListTest, FileInformationNeedsTheExactPasswordTwice) {
    const std::string a = WriteFile("a.asm", "a\r\nb");
    const std::string b = WriteFile("b.asm", "b");
    OpenAll({a, b});
    Buffers->SetMarked(0, true);
    const struct {
        const char* password;
        const char* confirmation;
        bool accepted;
    } attempts[] = {
        {"Secret", "secret", false},
        {"Secret", "Secret ", false},
        {"Secret", "Secret", true},
    };
    Host.FileInformationDialog = [&](TFileInformation& information) {
        for (const auto& attempt : attempts) {
            SCOPED_TRACE(std::string(attempt.password) + "/" + attempt.confirmation);
            information.Password = attempt.password;
            information.Confirmation = attempt.confirmation;
            information.FileType = TFileType::Unix;
            information.ReadOnly.Checked = true;
            EXPECT_EQ(information.Accept(), attempt.accepted);
            if (!attempt.accepted) {
                EXPECT_EQ(information.Password, "");
                EXPECT_EQ(information.Confirmation, "");
                EXPECT_EQ(Buffers->Buffer(0).Password, "") << "nothing applied";
                EXPECT_FALSE(Buffers->Buffer(0).Modified);
            }
        }
    };
    Buffers->FileInformation();
    for (int index = 0; index < 2; ++index) {
        const TTextEditorFile& buffer = Buffers->Buffer(index);
        EXPECT_EQ(buffer.Password, "Secret");
        EXPECT_TRUE(buffer.UnixLineEnds);
        EXPECT_TRUE(buffer.Modified) << "so that the next save writes it enciphered";
        EXPECT_FALSE(StatDiskFile(buffer.FileName)->OwnerWritable);
    }

    Host.FileInformationDialog = [&](TFileInformation& information) {
        EXPECT_EQ(information.FileType, TFileType::Unix);
        EXPECT_TRUE(information.ReadOnly.Checked);
        information.ReadOnly.Checked = false;
        EXPECT_TRUE(information.Accept());
    };
    Buffers->FileInformation();
    EXPECT_TRUE(StatDiskFile(a)->OwnerWritable);
    EXPECT_TRUE(StatDiskFile(b)->OwnerWritable);
    Buffers->SaveAll();
    TTextEditorFile check;
    check.Password = "Secret";
    check.LoadFromFile(a);
    EXPECT_EQ(check.Text(), "a\nb");
}

TEST_F(BufferListTest, FileInformationWithoutChangesLeavesTheBufferUnmodified) {
    OpenAll({WriteFile("a.asm", "a\r\nb")});
    Host.FileInformationDialog = [&](TFileInformation& information) {
        EXPECT_TRUE(information.Accept());
    };
    Buffers->FileInformation();
    EXPECT_FALSE(Buffers->CurrentBuffer().Modified);
}

TEST(LocalFileTimeText, ShowsTheLocalDateAndTimeToTheMinute) {
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 7;
    local.tm_min = 9;
    local.tm_sec = 59;
    local.tm_isdst = -1;
    const int64_t seconds = std::mktime(&local);
    EXPECT_EQ(LocalFileTimeText(seconds * 1'000'000'000 + 999'999'999), "2024-03-05 07:09");
}

// --- Printing -------------------------------------------------------------------------------

TEST_F(BufferListTest, PrintSendsTheLinesIndentedByTwelveBlanks) {
    const std::string path = WriteFile("p.asm", "one\ntwo\nthree\nfour");
    OpenAll({path});
    const std::string indent(12, ' ');

    Host.PrintRanges.push_back(TPrintRange::AllLines);
    Buffers->Print();
    ASSERT_EQ(Host.PrintJobs.size(), 1u);
    EXPECT_EQ(Host.PrintJobs[0], (std::vector<std::string>{indent + "one", indent + "two",
                                                           indent + "three", indent + "four"}));
    EXPECT_EQ(Host.SelectionOffered.back(), false);
    EXPECT_EQ(Host.LastStatus(), "Printed " + Quoted(path));

    Editor.StartSelection(2, 3);
    Editor.ExtendSelection(1, 1);
    Host.PrintRanges.push_back(TPrintRange::Selection);
    Buffers->Print();
    EXPECT_EQ(Host.SelectionOffered.back(), true);
    EXPECT_EQ(Host.PrintJobs.back(), (std::vector<std::string>{indent + "two", indent + "three"}))
        << "whole lines";

    Host.PrintRanges.push_back(std::nullopt);
    Buffers->Print();
    EXPECT_EQ(Host.PrintJobs.size(), 2u);
    EXPECT_EQ(Host.LastStatus(), "Print Canceled");
}

} // namespace
} // namespace corvid::testing
