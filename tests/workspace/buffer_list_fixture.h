#pragma once

#include "editor/text_editor.h"
#include "editor/text_editor_file.h"
#include "workspace/buffer_list.h"
#include "workspace/configuration_file.h"
#include "workspace/shell_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <stdlib.h>
#include <string>
#include <vector>

namespace corvid::testing {

namespace fs = std::filesystem;

// Answers the buffer list's questions from queues that a test fills, and records everything
// it is told. A question with no answer queued fails the test, and so does an answer left
// over at the end.
class TScriptedHost : public TShellHost {
public:
    struct TQuestion {
        std::string Caption;
        std::string Text;
        friend bool operator==(const TQuestion&, const TQuestion&) = default;
        friend std::ostream& operator<<(std::ostream& out, const TQuestion& question) {
            return out << "(" << question.Caption << ", " << question.Text << ")";
        }
    };

    std::vector<std::string> Statuses;
    std::vector<TQuestion> Questions; // password captions come with an empty text
    std::deque<std::optional<std::string>> Passwords;
    std::deque<TAnswer> Answers; // Yes and No also answer the Yes/No questions
    std::deque<std::optional<std::string>> SaveAsNames;
    std::vector<std::string> SaveAsInitialNames;
    std::deque<std::optional<std::vector<std::string>>> OpenNames;
    std::deque<std::optional<std::string>> QuickOpenNames;
    std::deque<std::optional<TPrintRange>> PrintRanges;
    std::vector<bool> SelectionOffered;
    std::vector<std::vector<std::string>> PrintJobs;
    std::function<void(TFileInformation&)> FileInformationDialog;
    std::function<void(TBufferListDialog&)> BufferListDialog;
    std::function<void()> OnQuestion; // runs inside every Yes/No question
    int Refreshes = 0;
    int Focuses = 0;

    std::string LastStatus() const { return Statuses.empty() ? "" : Statuses.back(); }
    // The last count statuses, oldest first.
    std::vector<std::string> LastStatuses(size_t count) const {
        count = std::min(count, Statuses.size());
        return {Statuses.end() - static_cast<std::ptrdiff_t>(count), Statuses.end()};
    }

    bool AllAnswersUsed() const {
        return Passwords.empty() && Answers.empty() && SaveAsNames.empty() && OpenNames.empty() &&
               QuickOpenNames.empty() && PrintRanges.empty();
    }

    void ShowStatus(const std::string& text) override { Statuses.push_back(text); }
    std::optional<std::string> AskPassword(const std::string& caption) override {
        Questions.push_back({caption, ""});
        return Next(Passwords, "password", std::optional<std::string>());
    }
    TAnswer AskYesNoCancel(const std::string& caption, const std::string& text) override {
        Questions.push_back({caption, text});
        return Next(Answers, "Yes/No/Cancel answer", TAnswer::Cancel);
    }
    bool AskYesNo(const std::string& caption, const std::string& text) override {
        Questions.push_back({caption, text});
        if (OnQuestion)
            OnQuestion();
        const TAnswer answer = Next(Answers, "Yes/No answer", TAnswer::No);
        EXPECT_NE(answer, TAnswer::Cancel) << "a Yes/No question has no Cancel";
        return answer == TAnswer::Yes;
    }
    std::optional<std::string> AskSaveAsName(const std::string& initialName) override {
        SaveAsInitialNames.push_back(initialName);
        return Next(SaveAsNames, "Save As name", std::optional<std::string>());
    }
    std::optional<std::vector<std::string>> AskOpenNames() override {
        return Next(OpenNames, "Open names", std::optional<std::vector<std::string>>());
    }
    std::optional<std::string> AskQuickOpenName() override {
        return Next(QuickOpenNames, "Quick Open name", std::optional<std::string>());
    }
    std::optional<TPrintRange> AskPrintRange(bool selectionAllowed) override {
        SelectionOffered.push_back(selectionAllowed);
        return Next(PrintRanges, "print range", std::optional<TPrintRange>());
    }
    void PrintLines(const std::vector<std::string>& lines) override { PrintJobs.push_back(lines); }
    void ShowBufferList(TBufferListDialog& dialog) override {
        ASSERT_TRUE(BufferListDialog) << "unscripted Buffer List dialog";
        BufferListDialog(dialog);
    }
    void ShowFileInformation(TFileInformation& information) override {
        ASSERT_TRUE(FileInformationDialog) << "unscripted File Information dialog";
        FileInformationDialog(information);
    }
    void BuffersChanged() override { ++Refreshes; }
    void FocusEditor() override { ++Focuses; }

private:
    template <typename T>
    T Next(std::deque<T>& queue, const char* what, T fallback) {
        if (queue.empty()) {
            ADD_FAILURE() << "unscripted " << what;
            return fallback;
        }
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

// A buffer list over a real editor and real files in a fresh temporary directory.
class BufferListTest : public ::testing::Test {
protected:
    fs::path Dir;
    TTextEditor Editor;
    TShellOptions Options;
    TScriptedHost Host;
    std::unique_ptr<TBufferList> Buffers;

    void SetUp() override {
        char name[] = "/tmp/corvid-buffers-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        Dir = name;
        Buffers = std::make_unique<TBufferList>(Editor, Host, Options);
    }

    void TearDown() override {
        Buffers.reset();
        EXPECT_TRUE(Host.AllAnswersUsed()) << "an answer was queued for a question never asked";
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(Dir, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(Dir, ignored);
    }

    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    std::string WriteFile(const std::string& name, const std::string& content) {
        const fs::path path = Dir / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }

    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The file names in the directory, hidden temporaries included.
    std::set<std::string> DirectoryEntries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(Dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    // Opens the files, each after the one before, and leaves the last current. The first
    // takes the place of the untitled buffer the list starts with.
    void OpenAll(const std::vector<std::string>& paths) {
        for (const std::string& path : paths)
            ASSERT_NE(Buffers->OpenAndShow(path), nullptr) << path;
    }

    // Types at the start of the buffer at index, which becomes current.
    void Modify(int index, const std::string& text = "changed ") {
        Buffers->Select(index);
        Editor.InsertText(text, 0, 0);
        ASSERT_TRUE(Buffers->Buffer(index).Modified);
    }

    std::vector<std::string> ShortNames() const {
        std::vector<std::string> names;
        for (int index = 0; index < Buffers->Count(); ++index)
            names.push_back(TBufferList::ShortName(Buffers->Buffer(index)));
        return names;
    }

    static std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
};

} // namespace corvid::testing
