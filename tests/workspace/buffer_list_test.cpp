#include "workspace/buffer_list.h"

#include "buffer_list_fixture.h"
#include "foundation/errors.h"
#include "support/file_size_limit.h"
#include "workspace/disk_file.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace corvid::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST_F(BufferListTest, StartsWithOneUntitledBufferShownInTheEditor) {
    ASSERT_EQ(Buffers->Count(), 1);
    EXPECT_EQ(TBufferList::DisplayName(Buffers->CurrentBuffer()), "Untitled");
    EXPECT_EQ(&Editor.File(), &Buffers->CurrentBuffer());
    EXPECT_TRUE(Host.Statuses.empty());
}

TEST_F(BufferListTest, NewInsertsAnUntitledBufferAfterTheCurrentOne) {
    OpenAll({WriteFile("a.asm", "a"), WriteFile("b.asm", "b")});
    Buffers->Select(0);
    Buffers->New();
    EXPECT_EQ(ShortNames(), (std::vector<std::string>{"a.asm", "Untitled", "b.asm"}));
    EXPECT_EQ(Buffers->CurrentIndex(), 1);
    EXPECT_EQ(&Editor.File(), &Buffers->CurrentBuffer());
    EXPECT_EQ(Host.LastStatus(), "New File Created");
}

TEST_F(BufferListTest, AnOpenedFileBringsItsTextAbsoluteNameAndAge) {
    const std::string path = WriteFile("a.asm", "first\r\nsecond");
    const auto before = fs::current_path();
    fs::current_path(Dir);
    TTextEditorFile* buffer = Buffers->OpenAndShow("sub/../a.asm");
    fs::current_path(before);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->FileName, path);
    EXPECT_EQ(Host.LastStatus(), "Opened " + Quoted(path));
    EXPECT_EQ(buffer->Text(), "first\r\nsecond");
    EXPECT_FALSE(buffer->Modified);
    EXPECT_EQ(buffer->FileAge, StatDiskFile(path)->Time);
    EXPECT_EQ(&Editor.File(), buffer);
}

TEST_F(BufferListTest, AMissingFileBecomesAModifiedBufferSavedOnTheFirstSave) {
    const std::string path = PathOf("new.asm");
    TTextEditorFile* buffer = Buffers->OpenAndShow(path);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(Host.LastStatus(), "Created " + Quoted(path));
    EXPECT_TRUE(buffer->Modified);
    EXPECT_EQ(buffer->FileAge, 0);
    EXPECT_FALSE(fs::exists(path));
    Buffers->SaveAll();
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(Host.LastStatus(), "1 File(s) Saved");
}

TEST_F(BufferListTest, AnOpenReplacesOnlyAnUntouchedUntitledBuffer) {
    const struct {
        const char* name;
        bool typeIntoUntitled;
        TOpenPlace place;
        std::vector<std::string> expected;
    } cases[] = {
        {"untouched", false, TOpenPlace::AfterCurrent, {"a.asm"}},
        {"untouched, desktop", false, TOpenPlace::AtEnd, {"a.asm"}},
        {"typed into", true, TOpenPlace::AfterCurrent, {"Untitled", "a.asm"}},
    };
    const std::string path = WriteFile("a.asm", "a");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Buffers = std::make_unique<TBufferList>(Editor, Host, Options);
        if (c.typeIntoUntitled)
            Modify(0);
        TTextEditorFile* opened = Buffers->OpenFile(path, c.place);
        EXPECT_EQ(ShortNames(), c.expected);
        if (!c.typeIntoUntitled) {
            EXPECT_EQ(&Buffers->CurrentBuffer(), opened) << "the editor shows the new buffer";
            EXPECT_EQ(&Editor.File(), opened);
        }
    }
}

TEST_F(BufferListTest, OpenPutsTheBufferAfterTheCurrentOneOrAtTheEnd) {
    OpenAll({WriteFile("a", ""), WriteFile("b", ""), WriteFile("c", "")});
    Buffers->Select(0);
    Buffers->OpenFile(WriteFile("d", ""), TOpenPlace::AfterCurrent);
    Buffers->OpenFile(WriteFile("e", ""), TOpenPlace::AtEnd);
    EXPECT_EQ(ShortNames(), (std::vector<std::string>{"a", "d", "b", "c", "e"}));
    EXPECT_EQ(Buffers->CurrentIndex(), 0) << "only open-and-show selects";
    Buffers->OpenAndShow(WriteFile("f", ""));
    EXPECT_EQ(ShortNames(), (std::vector<std::string>{"a", "f", "d", "b", "c", "e"}));
    EXPECT_EQ(Buffers->CurrentIndex(), 1);
}

std::string WriteEnciphered(const std::string& path, const std::string& text,
                            const std::string& password) {
    TTextEditorFile file;
    file.LoadFromText(text);
    file.Password = password;
    file.SaveToFile(path);
    return path;
}

TEST_F(BufferListTest, AnEncipheredFileOpensOnlyWithItsExactPassword) {
    const std::string path = WriteEnciphered(PathOf("secret.asm"), "hidden\nlines", "Secret");
    const std::string shown = Quoted(path);
    const struct {
        const char* name;
        std::optional<std::string> answer;
        std::string status;
    } refused[] = {
        {"other letter case", "secret", "Password Incorrect"},
        {"shorter", "Secre", "Password Incorrect"},
        {"empty", "", "Password Incorrect"},
        {"cancelled", std::nullopt, "Open " + shown + " Canceled"},
    };
    TTextEditorFile* untitled = &Buffers->CurrentBuffer();
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        Host.Passwords.push_back(c.answer);
        EXPECT_EQ(Buffers->OpenAndShow(path), nullptr);
        EXPECT_EQ(Host.Questions.back(), (TScriptedHost::TQuestion{"Password for " + shown, ""}));
        EXPECT_EQ(Host.LastStatus(), c.status);
        ASSERT_EQ(Buffers->Count(), 1) << "nothing is left behind";
        EXPECT_EQ(&Buffers->CurrentBuffer(), untitled);
        EXPECT_EQ(&Editor.File(), untitled);
        EXPECT_EQ(Buffers->FindBuffer(path), nullptr);
    }
    Host.Passwords.push_back("Secret");
    TTextEditorFile* buffer = Buffers->OpenAndShow(path);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Text(), "hidden\nlines");
    EXPECT_EQ(buffer->Password, "Secret");
    EXPECT_EQ(Host.LastStatus(), "Opened " + shown);
    EXPECT_EQ(Buffers->Count(), 1);

    Modify(0, "more ");
    Buffers->Save();
    EXPECT_THAT(ReadFile(path), StartsWith("1.crypt00")) << "saved enciphered again";
    TTextEditorFile check;
    check.Password = "Secret";
    check.LoadFromFile(path);
    EXPECT_EQ(check.Text(), "more hidden\nlines");
}

// A socket file cannot be opened by anyone, root included.
class TSocketFile {
public:
    explicit TSocketFile(const std::string& path) : Handle(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        Bound = bind(Handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~TSocketFile() { close(Handle); }
    bool Bound;

private:
    int Handle;
};

TEST_F(BufferListTest, AFailedOpenLeavesNoBufferAndNamesTheFile) {
    fs::create_directory(Dir / "folder");
    const TSocketFile socketFile(PathOf("socket"));
    ASSERT_TRUE(socketFile.Bound);
    std::vector<std::string> unreadable = {PathOf("folder"), PathOf("socket")};
    if (geteuid() != 0) {
        unreadable.push_back(WriteFile("locked.asm", "text"));
        fs::permissions(unreadable.back(), fs::perms::none);
    }
    TTextEditorFile* untitled = &Buffers->CurrentBuffer();
    for (const std::string& path : unreadable) {
        SCOPED_TRACE(path);
        try {
            Buffers->OpenAndShow(path);
            ADD_FAILURE() << "no error raised";
        } catch (const EInOutError& error) {
            EXPECT_THAT(error.what(), HasSubstr(Quoted(path)));
        }
        ASSERT_EQ(Buffers->Count(), 1);
        EXPECT_EQ(&Buffers->CurrentBuffer(), untitled);
        EXPECT_EQ(&Editor.File(), untitled);
        EXPECT_EQ(Buffers->FindBuffer(path), nullptr);
    }
}

TEST_F(BufferListTest, OpenCommandOpensEveryChosenFileAndCountsThem) {
    const std::vector<std::string> chosen = {WriteFile("a", "a"), WriteFile("b", "b"), PathOf("c")};
    Host.OpenNames.push_back(chosen);
    Buffers->Open();
    EXPECT_EQ(ShortNames(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Buffers->CurrentIndex(), 2) << "the last opened is current";
    EXPECT_EQ(Host.LastStatus(), "3 Files Opened");

    Host.OpenNames.push_back(std::vector<std::string>{WriteFile("d", "d")});
    Buffers->Open();
    EXPECT_EQ(Host.LastStatus(), "Opened " + Quoted(PathOf("d"))) << "no count for one file";

    Host.OpenNames.push_back(std::nullopt);
    Buffers->Open();
    EXPECT_EQ(Host.LastStatus(), "Open Canceled");
    EXPECT_EQ(Buffers->Count(), 4);
}

TEST_F(BufferListTest, OpenCommandOpensTheReadableFilesAndReportsTheOthers) {
    fs::create_directory(Dir / "folder");
    Host.OpenNames.push_back(
        std::vector<std::string>{WriteFile("a", "a"), PathOf("folder"), WriteFile("b", "b")});
    try {
        Buffers->Open();
        ADD_FAILURE() << "no error raised";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr(Quoted(PathOf("folder"))));
    }
    EXPECT_EQ(ShortNames(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Host.LastStatus(), "2 Files Opened");
}

// --- Saving ---------------------------------------------------------------------------------

TEST_F(BufferListTest, SaveWritesTheFileAndKeepsABackupWhenAsked) {
    for (const bool backups : {false, true}) {
        SCOPED_TRACE(backups ? "with backups" : "without backups");
        Buffers = std::make_unique<TBufferList>(Editor, Host, Options);
        fs::remove(PathOf("Old_a.asm"));
        Options.CreateBackups = backups;
        const std::string path = WriteFile("a.asm", "old");
        OpenAll({path});
        Modify(0, "new ");
        Buffers->Save();
        EXPECT_EQ(ReadFile(path), "new old");
        EXPECT_EQ(Host.LastStatus(), "Saved " + Quoted(path));
        EXPECT_FALSE(Buffers->CurrentBuffer().Modified);
        EXPECT_EQ(Buffers->CurrentBuffer().FileAge, StatDiskFile(path)->Time);
        if (backups) {
            EXPECT_EQ(ReadFile(PathOf("Old_a.asm")), "old");
            EXPECT_EQ(DirectoryEntries(), (std::set<std::string>{"a.asm", "Old_a.asm"}));
        } else {
            EXPECT_EQ(DirectoryEntries(), (std::set<std::string>{"a.asm"}));
        }
    }
}

TEST_F(BufferListTest, SaveWritesAnUnmodifiedBufferAndSaveAllDoesNot) {
    const std::string path = WriteFile("a.asm", "mine");
    OpenAll({path});
    WriteFile("a.asm", "someone else's");
    Buffers->SaveAll();
    EXPECT_EQ(Host.LastStatus(), "No Modified Files");
    EXPECT_EQ(ReadFile(path), "someone else's");
    Buffers->Save();
    EXPECT_EQ(ReadFile(path), "mine");
}

TEST_F(BufferListTest, AFailedSaveKeepsTheOldFileAndTheUnsavedChanges) {
    const std::string path = WriteFile("a.asm", "old content");
    OpenAll({path});
    Modify(0, std::string(100'000, 'x'));
    {
        const FileSizeLimit limit(1000);
        try {
            Buffers->Save();
            ADD_FAILURE() << "no error raised";
        } catch (const EInOutError& error) {
            EXPECT_THAT(error.what(), StartsWith("Cannot save " + Quoted(path) + ": "));
        }
    }
    EXPECT_EQ(ReadFile(path), "old content");
    EXPECT_TRUE(Buffers->CurrentBuffer().Modified);
    EXPECT_EQ(DirectoryEntries(), (std::set<std::string>{"a.asm"})) << "no temporary file left";
    EXPECT_NE(Host.LastStatus(), "Saved " + Quoted(path));
}

TEST_F(BufferListTest, AFailedSaveWhileClosingKeepsTheBufferAndStopsCloseAll) {
    const std::string path = WriteFile("a.asm", "old content");
    OpenAll({path, WriteFile("b.asm", "b")});
    Modify(0, std::string(100'000, 'x'));
    Host.Answers.push_back(TAnswer::Yes);
    {
        const FileSizeLimit limit(1000);
        EXPECT_THROW(Buffers->CloseAll(), EInOutError);
    }
    EXPECT_TRUE(Buffers->Canceled()) << "an exit must not go on";
    EXPECT_EQ(ShortNames(), (std::vector<std::string>{"a.asm"}));
    EXPECT_TRUE(Buffers->CurrentBuffer().Modified);
    EXPECT_EQ(ReadFile(path), "old content");
    EXPECT_EQ(Host.LastStatus(), "Close Canceled");
}

TEST_F(BufferListTest, AReadOnlyFileIsNotSavedOver) {
    const std::string path = WriteFile("a.asm", "old");
    OpenAll({path});
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::remove);
    Modify(0);
    try {
        Buffers->Save();
        ADD_FAILURE() << "no error raised";
    } catch (const EInOutError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot save " + Quoted(path) + ": the file is read-only");
    }
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_TRUE(Buffers->CurrentBuffer().Modified);
}

TEST_F(BufferListTest, SavingAnUntitledBufferAsksForItsName) {
    std::vector<std::string> attached;
    std::vector<std::string> symbolsUpdated;
    Buffers->AttachLanguage = [&](TTextEditorFile& buffer) { attached.push_back(buffer.FileName); };
    Buffers->UpdateProjectSymbols = [&](TTextEditorFile& buffer) {
        symbolsUpdated.push_back(buffer.FileName);
    };
    Modify(0, "text");
    const std::string path = PathOf("named.c");
    Host.SaveAsNames.push_back(path);
    Buffers->Save();
    EXPECT_EQ(Host.SaveAsInitialNames, (std::vector<std::string>{""}));
    EXPECT_EQ(Buffers->CurrentBuffer().FileName, path);
    EXPECT_EQ(ReadFile(path), "text");
    EXPECT_FALSE(Buffers->CurrentBuffer().Modified);
    EXPECT_EQ(Host.LastStatuses(2),
              (std::vector<std::string>{"Saved " + Quoted(path), "Saved As " + Quoted(path)}));
    EXPECT_EQ(attached, (std::vector<std::string>{path})) << "the extension may have changed";
    EXPECT_EQ(symbolsUpdated, (std::vector<std::string>{path}));
    EXPECT_FALSE(Buffers->Canceled());
}

TEST_F(BufferListTest, ACancelledSaveAsLeavesTheBufferAsItWas) {
    Modify(0, "text");
    Host.SaveAsNames.push_back(std::nullopt);
    Buffers->SaveAs();
    EXPECT_EQ(Host.LastStatus(), "Save As Canceled");
    EXPECT_TRUE(Buffers->Canceled());
    EXPECT_EQ(Buffers->CurrentBuffer().FileName, "");
    EXPECT_TRUE(Buffers->CurrentBuffer().Modified);
}

TEST_F(BufferListTest, AFailedSaveAsKeepsTheOldName) {
    const std::string path = WriteFile("a.asm", "a");
    OpenAll({path});
    Host.SaveAsNames.push_back(PathOf("missing/b.asm"));
    EXPECT_THROW(Buffers->SaveAs(), EInOutError);
    EXPECT_EQ(Buffers->CurrentBuffer().FileName, path);
    EXPECT_TRUE(Buffers->CurrentBuffer().Modified) << "a Save As marks the buffer modified";
}

TEST_F(BufferListTest, SaveAllSavesEveryModifiedBufferAndCountsThem) {
    int symbolUpdates = 0;
    Buffers->UpdateProjectSymbols = [&](TTextEditorFile&) { ++symbolUpdates; };
    OpenAll({WriteFile("a", "a"), WriteFile("b", "b"), WriteFile("c", "c")});
    Modify(0);
    Modify(2);
    Buffers->New();
    Modify(3);
    Host.SaveAsNames.push_back(std::nullopt);
    Buffers->SaveAll();
    EXPECT_EQ(Host.LastStatus(), "2 File(s) Saved");
    EXPECT_EQ(symbolUpdates, 2);
    EXPECT_EQ(ReadFile(PathOf("a")), "changed a");
    EXPECT_EQ(ReadFile(PathOf("c")), "changed c");
    EXPECT_TRUE(Buffers->Buffer(3).Modified);
}

TEST_F(BufferListTest, SaveWorksOnTheMarkedBuffersAndTheCurrentOne) {
    OpenAll({WriteFile("a", "a"), WriteFile("b", "b"), WriteFile("c", "c")});
    for (int index = 0; index < 3; ++index)
        Modify(index);
    Buffers->SetMarked(0, true);
    Buffers->Select(2);
    Buffers->Save();
    EXPECT_FALSE(Buffers->Buffer(0).Modified);
    EXPECT_TRUE(Buffers->Buffer(1).Modified);
    EXPECT_FALSE(Buffers->Buffer(2).Modified);
}

// --- Closing --------------------------------------------------------------------------------

TEST_F(BufferListTest, CloseAsksAboutUnsavedChanges) {
    const struct {
        TAnswer answer;
        bool closed;
        const char* onDisk;
    } cases[] = {
        {TAnswer::Yes, true, "changed old"},
        {TAnswer::No, true, "old"},
        {TAnswer::Cancel, false, "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        Buffers = std::make_unique<TBufferList>(Editor, Host, Options);
        const std::string path = WriteFile("a.asm", "old");
        OpenAll({WriteFile("first", ""), path});
        Modify(1);
        Host.Answers.push_back(c.answer);
        Buffers->Close();
        EXPECT_EQ(Host.Questions.back(),
                  (TScriptedHost::TQuestion{"Close", "Save changes to " + Quoted(path)}));
        EXPECT_EQ(Buffers->Count(), c.closed ? 1 : 2);
        EXPECT_EQ(Host.LastStatus(), c.closed ? "Closed " + Quoted(path) : "Close Canceled");
        EXPECT_EQ(Buffers->Canceled(), !c.closed);
        EXPECT_EQ(ReadFile(path), c.onDisk);
        EXPECT_EQ(&Editor.File(), &Buffers->CurrentBuffer());
    }
}

TEST_F(BufferListTest, ClosingTheLastBufferLeavesAnUntitledOne) {
    const std::string path = WriteFile("a.asm", "a");
    OpenAll({path});
    Buffers->Close();
    ASSERT_EQ(Buffers->Count(), 1);
    EXPECT_EQ(Buffers->CurrentBuffer().FileName, "");
    EXPECT_EQ(&Editor.File(), &Buffers->CurrentBuffer());
    EXPECT_EQ(Host.LastStatuses(3),
              (std::vector<std::string>{"Closed " + Quoted(path), "New File Created",
                                        "Closed " + Quoted(path)}));
}

TEST_F(BufferListTest, CloseTakesTheTargetsFromTheHighestIndexAndKeepsTheOneBefore) {
    std::vector<std::string> paths;
    for (const char* name : {"a", "b", "c", "d", "e"})
        paths.push_back(WriteFile(name, name));
    OpenAll(paths);
    Buffers->Select(2);
    Buffers->SetMarked(0, true);
    Buffers->SetMarked(4, true);
    Buffers->Close();
    EXPECT_EQ(ShortNames(), (std::vector<std::string>{"b", "d"}));
    EXPECT_EQ(TBufferList::ShortName(Buffers->CurrentBuffer()), "b");
    const auto closed = [&](int index) { return "Closed " + Quoted(paths[index]); };
    // Each close reports when it starts and again once it is done.
    EXPECT_EQ(Host.LastStatuses(6), (std::vector<std::string>{closed(4), closed(4), closed(2),
                                                              closed(2), closed(0), closed(0)}));
}

TEST_F(BufferListTest, CloseAllClosesEverythingAndLeavesAnUntitledBuffer) {
    OpenAll({WriteFile("a", "a"), WriteFile("b", "b")});
    EXPECT_TRUE(Buffers->CloseAll());
    ASSERT_EQ(Buffers->Count(), 1);
    EXPECT_EQ(Buffers->CurrentBuffer().FileName, "");
    EXPECT_EQ(Host.LastStatuses(2), (std::vector<std::string>{"New File Created", "Closed All"}));
    EXPECT_FALSE(Buffers->Canceled());
}

TEST_F(BufferListTest, CloseAllStopsAtTheFirstCancel) {
    const std::string c = WriteFile("c", "c");
    OpenAll({WriteFile("a", "a"), WriteFile("b", "b"), c});
    Modify(1);
    Modify(2);
    Host.Answers = {TAnswer::Yes, TAnswer::Cancel};
    EXPECT_FALSE(Buffers->CloseAll());
    EXPECT_EQ(ShortNames(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ReadFile(c), "changed c");
    EXPECT_EQ(Host.LastStatus(), "Close All Canceled");
    EXPECT_TRUE(Buffers->Canceled());
    EXPECT_EQ(&Editor.File(), &Buffers->CurrentBuffer());
}

TEST_F(BufferListTest, ACancelledSaveAsFromTheCloseQuestionStopsCloseAll) {
    OpenAll({WriteFile("a", "a")});
    Modify(0);
    Buffers->New();
    Modify(1);
    Host.Answers.push_back(TAnswer::Yes);
    Host.SaveAsNames.push_back(std::nullopt);
    EXPECT_FALSE(Buffers->CloseAll());
    EXPECT_EQ(Host.Questions.size(), 1u) << "the first buffer is not asked about";
    EXPECT_EQ(ShortNames(), (std::vector<std::string>{"a", "Untitled"}));
    EXPECT_EQ(Host.LastStatus(), "Close All Canceled");
    EXPECT_TRUE(Buffers->Canceled());
}

// --- Reloading and the file date check ---------------------------------------------------

TEST_F(BufferListTest, ReloadAsksForEachTarget) {
    const std::string a = WriteFile("a", "a");
    const std::string b = WriteFile("b", "b");
    OpenAll({a, b});
    Modify(0);
    Modify(1);
    WriteFile("a", "new a");
    WriteFile("b", "new b");
    Buffers->SetMarked(0, true);
    Host.Answers = {TAnswer::Yes, TAnswer::No};
    Buffers->Reload();
    EXPECT_EQ(Host.Questions,
              (std::vector<TScriptedHost::TQuestion>{{"Confirm", "Reload " + Quoted(a) + "?"},
                                                     {"Confirm", "Reload " + Quoted(b) + "?"}}));
    EXPECT_EQ(Buffers->Buffer(0).Text(), "new a");
    EXPECT_FALSE(Buffers->Buffer(0).Modified);
    EXPECT_EQ(Buffers->Buffer(0).FileAge, StatDiskFile(a)->Time);
    EXPECT_EQ(Buffers->Buffer(1).Text(), "changed b");
    EXPECT_TRUE(Buffers->Buffer(1).Modified);
    EXPECT_EQ(Host.LastStatus(), "Reloaded " + Quoted(a));
}

void MoveModificationTime(const std::string& path, std::chrono::seconds by) {
    fs::last_write_time(path, fs::last_write_time(path) + by);
}

TEST_F(BufferListTest, TheDateCheckOffersToReloadAChangedFile) {
    const std::string a = WriteFile("a", "a");
    OpenAll({a, WriteFile("b", "b")});
    Buffers->CheckDateTime();
    EXPECT_EQ(Host.LastStatus(), "File Up To Date");
    EXPECT_TRUE(Host.Questions.empty());

    WriteFile("a", "new a");
    MoveModificationTime(a, std::chrono::seconds(5));
    Host.Answers.push_back(TAnswer::Yes);
    Buffers->CheckDateTime();
    EXPECT_EQ(
        Host.Questions.back(),
        (TScriptedHost::TQuestion{"File Time/Date Changed", Quoted(a) + " Has Changed, Reload?"}));
    EXPECT_EQ(Buffers->Buffer(0).Text(), "new a");
    EXPECT_EQ(Host.LastStatuses(2),
              (std::vector<std::string>{"Reloaded " + Quoted(a), "Files Updated"}));

    MoveModificationTime(a, std::chrono::seconds(5));
    Host.Answers.push_back(TAnswer::No);
    EXPECT_TRUE(Buffers->CheckFileDates());
    EXPECT_EQ(Buffers->Buffer(0).Text(), "new a");
    EXPECT_FALSE(Buffers->CheckFileDates()) << "the new time was taken even without a reload";
}

TEST_F(BufferListTest, TheDateCheckOffersToTagARemovedFile) {
    const std::string a = WriteFile("a", "a");
    OpenAll({a, PathOf("never saved")});
    fs::remove(a);
    const TScriptedHost::TQuestion question{"File Removed",
                                            Quoted(a) + " Has Been Removed, Tag As Modified?"};
    Host.Answers.push_back(TAnswer::No);
    Buffers->CheckDateTime();
    EXPECT_EQ(Host.Questions, std::vector<TScriptedHost::TQuestion>{question});
    EXPECT_EQ(Host.LastStatus(), "Files Updated");
    EXPECT_FALSE(Buffers->Buffer(0).Modified);

    Host.Answers.push_back(TAnswer::Yes);
    Buffers->CheckDateTime();
    EXPECT_EQ(Host.Questions.size(), 2u) << "asked again";
    EXPECT_TRUE(Buffers->Buffer(0).Modified);
    EXPECT_EQ(Host.LastStatuses(2),
              (std::vector<std::string>{"Tagged " + Quoted(a), "Files Updated"}));

    Buffers->CheckDateTime();
    EXPECT_EQ(Host.Questions.size(), 2u) << "a modified buffer is not asked about";
    EXPECT_EQ(Host.LastStatus(), "File Up To Date");
}

TEST_F(BufferListTest, ActivationChecksTheDatesWhenTheOptionsAskForIt) {
    const std::string a = WriteFile("a", "a");
    OpenAll({a});
    fs::remove(a);
    Options.AutoCheckFileDates = false;
    Buffers->WindowActivated();
    EXPECT_TRUE(Host.Questions.empty());

    Options.AutoCheckFileDates = true;
    Host.Answers.push_back(TAnswer::No);
    // Closing the question's dialog activates the window again while the check still runs.
    Host.OnQuestion = [&] { Buffers->WindowActivated(); };
    Buffers->WindowActivated();
    EXPECT_EQ(Host.Questions.size(), 1u) << "one question, not one per activation";
}

} // namespace
} // namespace corvid::testing
