#include "workspace/message_list.h"

#include "editor/text_editor.h"
#include "workspace/buffer_list.h"
#include "workspace/shell_host.h"

namespace corvid {

namespace {

constexpr int WholeLine = 10000;

} // namespace

TMessageList::TMessageList(TBufferList& buffers, TShellHost& host) : Buffers(buffers), Host(host) {
    Messages.Delta = 64;
}

void TMessageList::ClearMessages() {
    Messages.Clear();
    MessagesChanged();
}

void TMessageList::AddMessage(TErrorBookmark* message) {
    Messages.Add(message);
    MessagesChanged();
}

void TMessageList::ClearMakeOutput() {
    MakeOutput.clear();
    MakeOutputChanged();
}

void TMessageList::AddMakeOutput(std::string line) {
    MakeOutput.push_back(std::move(line));
    MakeOutputChanged();
}

void TMessageList::AddMakeOutput(const std::vector<std::string>& lines) {
    MakeOutput.insert(MakeOutput.end(), lines.begin(), lines.end());
    MakeOutputChanged();
}

// The caret on the message's line (1-based in the message) and column, and the line marked.
void TMessageList::GoTo(const TErrorBookmark& message) {
    TTextEditor& editor = Buffers.EditorControl();
    const int line = message.Line() - 1;
    editor.GotoLineCentered(line);
    editor.MoveCaret(line, message.Column());
    HighlightRange(line, 0, WholeLine);
    Host.ShowStatus(message.Message);
}

bool TMessageList::Select(int index) {
    if (index < 0 || index >= Messages.Count())
        return false;
    MessageShown(index);
    const TErrorBookmark& message = *Messages[index];
    if (message.Line() < 1) {
        Host.ShowStatus(message.Message);
        return true;
    }
    if (!Buffers.ActivateByFileName(message.ModuleName)) {
        Host.ShowStatus("Error:Module Not Open " + message.ModuleName);
        return false;
    }
    GoTo(message);
    return true;
}

bool TMessageList::Activate(int index) {
    if (index < 0 || index >= Messages.Count())
        return false;
    MessageShown(index);
    const TErrorBookmark& message = *Messages[index];
    if (message.Line() < 1) {
        Host.ShowStatus(message.Message);
        return true;
    }
    if (Buffers.FindAndShow(message.ModuleName) != TFileLookup::Shown) {
        Host.ShowStatus("Error:Could Not Find Module " + message.ModuleName);
        return false;
    }
    GoTo(message);
    Host.FocusEditor();
    return true;
}

} // namespace corvid
