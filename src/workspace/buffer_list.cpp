#include "workspace/buffer_list.h"

#include "editor/text_editor.h"
#include "editor/text_editor_file.h"
#include "foundation/encrypted_stream.h"
#include "foundation/errors.h"
#include "foundation/file_names.h"
#include "workspace/configuration_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace corvid {

namespace {

namespace fs = std::filesystem;

constexpr const char* UntitledName = "Untitled";

// Absolute, with "." and ".." resolved by name; symbolic links stay as they are, so the name
// shown is the one the user chose.
std::string FullPath(const std::string& name) {
    if (name.empty())
        return name;
    std::error_code error;
    const fs::path absolute = fs::absolute(name, error);
    return (error ? fs::path(name) : absolute).lexically_normal().string();
}

// The name with every symbolic link of its existing part resolved: two names of one file
// give the same text.
std::string CanonicalPath(const std::string& name) {
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(FullPath(name), error);
    return error ? FullPath(name) : canonical.string();
}

int64_t ModificationTime(const std::string& name) {
    const auto file = StatDiskFile(name);
    return file ? file->Time : 0;
}

bool IsUntitledAndUnmodified(const TTextEditorFile& buffer) {
    return buffer.FileName.empty() && !buffer.Modified;
}

// A failing copy is no reason to refuse the save itself.
void CopyToBackup(const std::string& fileName) {
    std::error_code ignored;
    fs::copy_file(fileName, DirectoryOf(fileName) + "Old_" + FileNameOnly(fileName),
                  fs::copy_options::overwrite_existing, ignored);
}

// Holds the editor's repainting while buffers go and come.
class TEditorUpdate {
public:
    explicit TEditorUpdate(TTextEditor& editor) : Editor(editor) { Editor.BeginUpdate(); }
    ~TEditorUpdate() { Editor.EndUpdate(); }
    TEditorUpdate(const TEditorUpdate&) = delete;
    TEditorUpdate& operator=(const TEditorUpdate&) = delete;

private:
    TTextEditor& Editor;
};

// Raises a flag for as long as the scope lasts.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : Flag(flag) { Flag = true; }
    ~TFlagScope() { Flag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& Flag;
};

} // namespace

TBufferList::TBufferList(TTextEditor& editor, TShellHost& host, const TShellOptions& options)
    : Editor(editor), Host(host), Options(options) {
    Buffers.Add(CreateBuffer().release());
    Editor.SetFile(Buffers[0]);
}

TBufferList::~TBufferList() = default;

TTextEditorFile& TBufferList::Buffer(int index) const {
    CORVID_ASSERT(index >= 0 && index < Count(), "TBufferList.Buffer Index Out Of Bounds");
    return *Buffers[index];
}

bool TBufferList::IsMarked(int index) const {
    return Marked.contains(&Buffer(index));
}

void TBufferList::SetMarked(int index, bool marked) {
    if (marked)
        Marked.insert(&Buffer(index));
    else
        Marked.erase(&Buffer(index));
}

bool TBufferList::IsTarget(int index) const {
    return index == Current || IsMarked(index);
}

std::vector<TTextEditorFile*> TBufferList::Targets() const {
    std::vector<TTextEditorFile*> targets;
    for (int index = 0; index < Count(); ++index)
        if (IsTarget(index))
            targets.push_back(Buffers[index]);
    return targets;
}

std::string TBufferList::DisplayName(const TTextEditorFile& buffer) {
    return buffer.FileName.empty() ? UntitledName : buffer.FileName;
}

std::string TBufferList::ShortName(const TTextEditorFile& buffer) {
    return FileNameOnly(DisplayName(buffer));
}

// --- Creating, showing and removing buffers ------------------------------------------------

std::unique_ptr<TTextEditorFile> TBufferList::CreateBuffer() const {
    auto buffer = std::make_unique<TTextEditorFile>(TUndoMode::WithUndo);
    // A file loads with the rules of the editor that will show it.
    buffer->LoadTabSize = Editor.Options().TabSize;
    buffer->LoadRemovesTrailingBlanks = Editor.Options().RemoveTrailingBlanks;
    return buffer;
}

void TBufferList::ShowCurrent() {
    TTextEditorFile& current = CurrentBuffer();
    if (&Editor.File() != &current)
        Editor.SetFile(&current);
    Host.BuffersChanged();
}

void TBufferList::Select(int index) {
    if (index < 0 || index >= Count())
        return;
    Current = index;
    ShowCurrent();
    Host.FocusEditor();
}

void TBufferList::Discard(int index) {
    Marked.erase(&Buffer(index));
    if (index < Current || (index == Current && Current > 0))
        --Current;
    Buffers.Delete(index);
}

// --- Opening ------------------------------------------------------------------------------

TTextEditorFile* TBufferList::OpenFile(const std::string& name, TOpenPlace place) {
    // The buffer joins the list only once it holds the file, so that no failure can leave an
    // empty buffer under the file's name for a later save to write over the file.
    std::unique_ptr<TTextEditorFile> buffer = CreateBuffer();
    buffer->FileName = FullPath(name);
    const std::string shown = Quoted(DisplayName(*buffer));
    if (StatDiskFile(buffer->FileName)) {
        if (!LoadNewBuffer(*buffer))
            return nullptr;
        Host.ShowStatus("Opened " + shown);
    } else {
        Host.ShowStatus("Created " + shown);
        buffer->Modified = true;
    }
    const bool replacesCurrent = IsUntitledAndUnmodified(CurrentBuffer());
    TTextEditorFile* opened = buffer.release();
    Buffers.Insert(opened, place == TOpenPlace::AtEnd ? Count() : Current + 1);
    if (replacesCurrent) {
        Discard(Current);
        Current = IndexOf(*opened);
    }
    AttachLanguage(*opened);
    ShowCurrent();
    return opened;
}

bool TBufferList::LoadNewBuffer(TTextEditorFile& buffer) {
    const std::string shown = Quoted(DisplayName(buffer));
    if (buffer.IsEncrypted()) {
        const auto password = Host.AskPassword("Password for " + shown);
        if (!password) {
            Host.ShowStatus("Open " + shown + " Canceled");
            return false;
        }
        // An empty password would read the enciphered bytes as plain text, and a save would
        // then write them back as such.
        if (password->empty()) {
            Host.ShowStatus("Password Incorrect");
            return false;
        }
        buffer.Password = *password;
    }
    try {
        buffer.LoadFromFile(buffer.FileName);
    } catch (const TEncryptedStreamException&) {
        Host.ShowStatus("Password Incorrect");
        return false;
    }
    buffer.FileAge = ModificationTime(buffer.FileName);
    return true;
}

TTextEditorFile* TBufferList::OpenAndShow(const std::string& name) {
    TTextEditorFile* opened = OpenFile(name, TOpenPlace::AfterCurrent);
    if (opened)
        Select(IndexOf(*opened));
    return opened;
}

void TBufferList::Edit(const std::string& name) {
    if (!ActivateByPath(name))
        OpenAndShow(name);
}

// --- Finding ------------------------------------------------------------------------------

bool TBufferList::SelectWhere(const std::function<bool(const TTextEditorFile&)>& matches) {
    for (int index = 0; index < Count(); ++index) {
        if (matches(*Buffers[index])) {
            Select(index);
            return true;
        }
    }
    return false;
}

bool TBufferList::ActivateByPath(const std::string& name) {
    const std::string wanted = CanonicalPath(name);
    return SelectWhere([&](const TTextEditorFile& buffer) {
        return !buffer.FileName.empty() && CanonicalPath(buffer.FileName) == wanted;
    });
}

bool TBufferList::ActivateByFileName(const std::string& shortName) {
    return SelectWhere([&](const TTextEditorFile& buffer) {
        return !buffer.FileName.empty() && FileNameOnly(buffer.FileName) == shortName;
    });
}

bool TBufferList::ActivateByName(const std::string& name) {
    return SelectWhere([&](const TTextEditorFile& buffer) { return buffer.FileName == name; });
}

TTextEditorFile* TBufferList::FindBuffer(const std::string& name) const {
    for (TTextEditorFile* buffer : Buffers)
        if (buffer->FileName == name)
            return buffer;
    return nullptr;
}

// --- Saving ------------------------------------------------------------------------------

bool TBufferList::SaveBuffer(TTextEditorFile& buffer, TSaveMode mode) {
    if (buffer.FileName.empty())
        return SaveBufferAs(buffer);
    if (!buffer.Modified && mode == TSaveMode::IfModified)
        return false;
    Write(buffer);
    return true;
}

bool TBufferList::SaveBufferAs(TTextEditorFile& buffer) {
    const auto chosen = Host.AskSaveAsName(buffer.FileName);
    if (!chosen || chosen->empty()) {
        CancelFlag = true;
        Host.ShowStatus("Save As Canceled");
        return false;
    }
    const std::string previous = buffer.FileName;
    buffer.FileName = FullPath(*chosen);
    buffer.Modified = true;
    try {
        Write(buffer);
    } catch (...) {
        buffer.FileName = previous;
        throw;
    }
    AttachLanguage(buffer);
    Host.ShowStatus("Saved As " + Quoted(DisplayName(buffer)));
    Host.BuffersChanged();
    return true;
}

void TBufferList::Write(TTextEditorFile& buffer) {
    const std::string failure = "Cannot save " + Quoted(DisplayName(buffer)) + ": ";
    const auto onDisk = StatDiskFile(buffer.FileName);
    // The write goes to a new file renamed over the old one, which the owner's missing write
    // permission would not stop: "Read Only" is honoured here.
    if (onDisk && !onDisk->OwnerWritable)
        throw EInOutError(failure + "the file is read-only", EACCES);
    if (onDisk && Options.CreateBackups)
        CopyToBackup(buffer.FileName);
    try {
        buffer.SaveToFile(buffer.FileName);
    } catch (const EInOutError& error) {
        throw EInOutError(failure + error.what(), error.ErrorCode);
    } catch (const Error& error) {
        throw Error(failure + error.what());
    }
    Host.ShowStatus("Saved " + Quoted(DisplayName(buffer)));
    buffer.FileAge = ModificationTime(buffer.FileName);
    buffer.Modified = false;
    if (&buffer == &CurrentBuffer())
        Host.BuffersChanged();
}

void TBufferList::SaveBuffers(const std::vector<TTextEditorFile*>& buffers) {
    for (TTextEditorFile* buffer : buffers)
        if (SaveBuffer(*buffer, TSaveMode::Always))
            UpdateProjectSymbols(*buffer);
}

// --- Closing ------------------------------------------------------------------------------

bool TBufferList::CloseBuffer(TTextEditorFile& buffer) {
    CORVID_ASSERT(IndexOf(buffer) >= 0, "TBufferList.CloseBuffer Buffer Not In List");
    TEditorUpdate update(Editor);
    Host.ShowStatus("Closed " + Quoted(DisplayName(buffer)));
    CancelFlag = false;
    if (buffer.Modified)
        AskToSaveBeforeClosing(buffer);
    if (CancelFlag) {
        Host.ShowStatus("Close Canceled");
        return false;
    }
    Discard(IndexOf(buffer));
    if (Buffers.IsEmpty())
        New();
    else
        ShowCurrent();
    return true;
}

void TBufferList::AskToSaveBeforeClosing(TTextEditorFile& buffer) {
    switch (Host.AskYesNoCancel("Close", "Save changes to " + Quoted(DisplayName(buffer)))) {
    case TAnswer::Yes:
        try {
            if (SaveBuffer(buffer, TSaveMode::Always))
                UpdateProjectSymbols(buffer);
        } catch (...) {
            // The buffer stays, and whoever closes everything (exit, a project) stops too.
            CancelFlag = true;
            Host.ShowStatus("Close Canceled");
            throw;
        }
        return;
    case TAnswer::No:
        return;
    case TAnswer::Cancel:
        CancelFlag = true;
        return;
    }
}

void TBufferList::CloseBuffers(const std::vector<TTextEditorFile*>& buffers) {
    std::vector<int> indexes;
    for (const TTextEditorFile* buffer : buffers)
        indexes.push_back(IndexOf(*buffer));
    std::sort(indexes.begin(), indexes.end(), std::greater<>());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (const int index : indexes) {
        const std::string shown = Quoted(DisplayName(Buffer(index)));
        if (CloseBuffer(Buffer(index)))
            Host.ShowStatus("Closed " + shown);
    }
}

bool TBufferList::CloseAll() {
    CancelFlag = false;
    for (int index = Count() - 1; index >= 0; --index)
        if (!CloseBuffer(Buffer(index)))
            break;
    Host.ShowStatus(CancelFlag ? "Close All Canceled" : "Closed All");
    return !CancelFlag;
}

// --- Reloading and the file date check ----------------------------------------------------

void TBufferList::ReloadBuffer(TTextEditorFile& buffer) {
    buffer.LoadFromFile(buffer.FileName);
    buffer.Modified = false;
    buffer.FileAge = ModificationTime(buffer.FileName);
    Host.ShowStatus("Reloaded " + Quoted(DisplayName(buffer)));
    Host.BuffersChanged();
}

bool TBufferList::CheckFileDates() {
    if (CheckingFileDates)
        return false;
    const TFlagScope checking(CheckingFileDates);
    bool asked = false;
    for (int index = 0; index < Count(); ++index)
        if (CheckFileDate(*Buffers[index]))
            asked = true;
    return asked;
}

void TBufferList::WindowActivated() {
    if (Options.AutoCheckFileDates)
        CheckFileDates();
}

bool TBufferList::CheckFileDate(TTextEditorFile& buffer) {
    if (buffer.FileName.empty())
        return false;
    const std::string shown = Quoted(DisplayName(buffer));
    if (const auto onDisk = StatDiskFile(buffer.FileName)) {
        if (onDisk->Time == buffer.FileAge)
            return false;
        buffer.FileAge = onDisk->Time;
        if (Host.AskYesNo("File Time/Date Changed", shown + " Has Changed, Reload?"))
            ReloadBuffer(buffer);
        return true;
    }
    if (buffer.FileAge == 0 || buffer.Modified)
        return false;
    if (Host.AskYesNo("File Removed", shown + " Has Been Removed, Tag As Modified?")) {
        buffer.Modified = true;
        Host.ShowStatus("Tagged " + shown);
        Host.BuffersChanged();
    }
    return true;
}

} // namespace corvid
