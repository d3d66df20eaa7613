#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvid {

class TBufferListDialog;
class TFileInformation;

enum class TAnswer { Yes, No, Cancel };

// What a print job covers: every line of the current buffer, or the whole lines of the
// editor's selection.
enum class TPrintRange { AllLines, Selection };

// What the IDE's logic asks of the window that hosts it: the status line, the questions and
// dialogs, and a refresh after the buffers changed. The Qt main window implements it; tests
// answer from a script. Every call comes on the UI thread.
class TShellHost {
public:
    virtual ~TShellHost() = default;

    // The one-line report every command ends with.
    virtual void ShowStatus(const std::string& text) = 0;

    // The password of an enciphered file; none when the user cancelled.
    virtual std::optional<std::string> AskPassword(const std::string& caption) = 0;
    virtual TAnswer AskYesNoCancel(const std::string& caption, const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
    // The name to save a file as, starting from initialName; none when cancelled.
    virtual std::optional<std::string> AskSaveAsName(const std::string& initialName) = 0;
    // The files chosen in the Open dialog (several may be chosen); none when cancelled.
    virtual std::optional<std::vector<std::string>> AskOpenNames() = 0;
    // The name entered in the "Quick Open" dialog; none when cancelled.
    virtual std::optional<std::string> AskQuickOpenName() = 0;
    // The print dialog, which offers the selection only when selectionAllowed; none when
    // cancelled. The window keeps the printer it chose for the PrintLines that follows.
    virtual std::optional<TPrintRange> AskPrintRange(bool selectionAllowed) = 0;
    // Prints each line as one printed line, in the fixed-pitch font.
    virtual void PrintLines(const std::vector<std::string>& lines) = 0;

    // Runs the modal "Buffer List" dialog over the model; its buttons call the model.
    virtual void ShowBufferList(TBufferListDialog& dialog) = 0;
    // Runs the modal "File Information" dialog over the model. OK calls Accept and closes the
    // dialog only when Accept returns true; otherwise the edits show the cleared passwords.
    virtual void ShowFileInformation(TFileInformation& information) = 0;

    // The buffer list or the current buffer changed: tabs, title and editor follow.
    virtual void BuffersChanged() = 0;
    // A buffer was chosen to work in: the editor takes the keyboard focus.
    virtual void FocusEditor() = 0;
};

} // namespace corvid
