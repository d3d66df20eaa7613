#pragma once

#include <string>
#include <vector>

namespace corvid {

class TBufferList;
class TTextEditorFile;

// What the "Buffer List" dialog shows and does: one line per buffer, "*" for unsaved changes
// or a blank, then the short name. The dialog rebuilds its list from Lines after Save and
// Close; line numbers are those of the last Lines.
class TBufferListDialog {
public:
    explicit TBufferListDialog(TBufferList& buffers) : Buffers(buffers) {}

    std::vector<std::string> Lines() const;
    // The line selected when the dialog shows: the current buffer's.
    int CurrentLine() const;
    // "&View" and a double click: the buffer of the focused line becomes current.
    void View(int line);
    // "&Save": every selected buffer, modified or not.
    void Save(const std::vector<int>& lines);
    // "&Close": every selected buffer, from the last to the first.
    void Close(const std::vector<int>& lines);

private:
    TBufferList& Buffers;

    std::vector<TTextEditorFile*> BuffersAt(const std::vector<int>& lines) const;
};

} // namespace corvid
