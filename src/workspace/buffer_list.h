#pragma once

#include "foundation/object_list.h"
#include "workspace/disk_file.h"
#include "workspace/shell_host.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace corvid {

class TTextEditor;
class TTextEditorFile;
struct TShellOptions;

// Where a newly opened buffer goes: right after the current one (a file the user opened), or
// at the end (the files of a desktop, in their stored order).
enum class TOpenPlace { AfterCurrent, AtEnd };

// What looking for a file by name came to: Canceled when its password was not given.
enum class TFileLookup { Shown, NotFound, Canceled };

// Whether Save writes a buffer that has no unsaved changes.
enum class TSaveMode { IfModified, Always };

// The open files of the IDE and every command on them. Each buffer is a TTextEditorFile, in
// tab order; the editor always shows the current one, and the list is never empty (an
// untitled buffer takes the place of the last one closed). Questions, dialogs, the status line
// and refreshes go to the TShellHost, so the window calls one method per menu command.
//
// Errors: a file that cannot be read, written or changed raises Error (EInOutError for the
// file system) naming the file, after the list is left consistent: a failed open adds no
// buffer, a failed save keeps the old file and the buffer modified. Wrong or cancelled
// passwords and cancelled dialogs are no errors; they end in a status message.
//
// All calls belong to the UI thread.
class TBufferList {
public:
    // Starts with one untitled buffer, shown in the editor. The editor, host and options
    // must outlive the list.
    TBufferList(TTextEditor& editor, TShellHost& host, const TShellOptions& options);
    ~TBufferList();
    TBufferList(const TBufferList&) = delete;
    TBufferList& operator=(const TBufferList&) = delete;

    // Gives a buffer its language and highlighter from its file name; none with no match.
    std::function<void(TTextEditorFile&)> AttachLanguage = [](TTextEditorFile&) {};
    // Brings the project's symbols up to date with a buffer just saved.
    std::function<void(TTextEditorFile&)> UpdateProjectSymbols = [](TTextEditorFile&) {};
    // The date and time of a file in the file information list.
    std::function<std::string(int64_t nanoseconds)> FormatFileTime = LocalFileTimeText;

    // --- The list -------------------------------------------------------------------------

    int Count() const { return Buffers.Count(); }
    TTextEditor& EditorControl() const { return Editor; }
    TTextEditorFile& Buffer(int index) const;
    int IndexOf(const TTextEditorFile& buffer) const { return Buffers.IndexOf(&buffer); }
    int CurrentIndex() const { return Current; }
    TTextEditorFile& CurrentBuffer() const { return Buffer(Current); }
    // The tab strip's multi-selection; a mark stays with its buffer when tabs move.
    bool IsMarked(int index) const;
    void SetMarked(int index, bool marked);
    // What the multi-buffer commands work on: the marked buffers and the current one.
    bool IsTarget(int index) const;
    // Set when a close or a Save As was cancelled; cleared when a close or Close All starts.
    bool Canceled() const { return CancelFlag; }

    // The file name, or "Untitled"; and that without its directory.
    static std::string DisplayName(const TTextEditorFile& buffer);
    static std::string ShortName(const TTextEditorFile& buffer);

    // --- Operations for the other commands of the IDE ---------------------------------------

    // Opens a file into a new buffer under its absolute name, or creates a modified buffer
    // when there is no such file. An untitled, unmodified current buffer gives way to it. Gives
    // none when the password was cancelled or wrong.
    TTextEditorFile* OpenFile(const std::string& name, TOpenPlace place);
    // OpenFile after the current buffer, and selects the result.
    TTextEditorFile* OpenAndShow(const std::string& name);
    // Make current the first buffer whose name matches, and tell whether there was one. Names
    // compare exactly: by canonical absolute path, by short name, or as stored.
    bool ActivateByPath(const std::string& name);
    bool ActivateByFileName(const std::string& shortName);
    bool ActivateByName(const std::string& name);
    TTextEditorFile* FindBuffer(const std::string& name) const;
    // Makes the buffer at index current and shows it; an index outside the list is ignored.
    void Select(int index);
    // False when nothing was written: the buffer needed no save, or its Save As was cancelled.
    bool SaveBuffer(TTextEditorFile& buffer, TSaveMode mode);
    bool SaveBufferAs(TTextEditorFile& buffer);
    // Asks about unsaved changes; false when the user cancelled and the buffer stays.
    bool CloseBuffer(TTextEditorFile& buffer);
    // Closes from the highest index down; each close asks on its own.
    void CloseBuffers(const std::vector<TTextEditorFile*>& buffers);
    // Saves each buffer whether modified or not, then updates its symbols.
    void SaveBuffers(const std::vector<TTextEditorFile*>& buffers);
    // Closes every buffer, from the last, until one close is cancelled; true when none was.
    // Runs before a project or desktop opens and at exit.
    bool CloseAll();
    // Asks about each buffer whose file changed or vanished on disk; true when any did. A check
    // started while one is asking (its dialog hands the activation back) does nothing.
    bool CheckFileDates();
    // The main window became active: the date check runs when the options ask for it.
    void WindowActivated();
    // The open buffer with that short name, else the first file of that name along the
    // project search path, opened.
    TFileLookup FindAndShow(const std::string& name);
    // The shell's "edit": the open buffer of the file, else the file opened.
    void Edit(const std::string& name);
    // The lines a print job sends: each text line after 12 blanks.
    std::vector<std::string> PrintedLines(TPrintRange range) const;

    // --- Menu commands --------------------------------------------------------------------

    void New();
    void Open();
    void QuickOpen();
    void Save();
    void SaveAs();
    void SaveAll();
    void Close();
    void Reload();
    void CheckDateTime();
    void FileInformation();
    void Print();
    void ToggleHeaderBody();
    // number 1 to 9 selects the buffer at index number - 1.
    void GotoFile(int number);
    void GotoNextFile();
    void GotoPreviousFile();
    // The targets move one place to the right (Up) or to the left (Down).
    void SwapFileUp();
    void SwapFileDown();
    // The targets dropped on the tab at index: they move there in their order; a drop on a
    // target does nothing.
    void MoveTargetsTo(int index);
    void ShowBufferList();

private:
    TTextEditor& Editor;
    TShellHost& Host;
    const TShellOptions& Options;
    TObjectList<TTextEditorFile> Buffers; // in tab order
    int Current = 0;
    std::unordered_set<const TTextEditorFile*> Marked;
    bool CancelFlag = false;
    bool CheckingFileDates = false;

    static std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
    std::vector<TTextEditorFile*> Targets() const;
    std::unique_ptr<TTextEditorFile> CreateBuffer() const;
    // Makes sure the editor shows the current buffer, and has the window refresh.
    void ShowCurrent();
    // Destroys the buffer; the current one stays current, or the one before it takes over.
    // The list may be left empty.
    void Discard(int index);
    // False when the open ends without an error: a cancelled or wrong password.
    bool LoadNewBuffer(TTextEditorFile& buffer);
    void Write(TTextEditorFile& buffer);
    void AskToSaveBeforeClosing(TTextEditorFile& buffer);
    void ReloadBuffer(TTextEditorFile& buffer);
    bool CheckFileDate(TTextEditorFile& buffer);
    bool SelectWhere(const std::function<bool(const TTextEditorFile&)>& matches);
    bool ShowExistingOrOpen(const std::string& name);
    // Puts the buffers into this order; the current buffer stays current.
    void Reorder(const std::vector<TTextEditorFile*>& order);
};

} // namespace corvid
