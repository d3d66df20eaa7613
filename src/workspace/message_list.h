#pragma once

#include "editor/bookmarks.h"
#include "foundation/object_list.h"

#include <functional>
#include <string>
#include <vector>

namespace corvid {

class TBufferList;
class TShellHost;

// The contents of the "Messages" and "Listing" panes: the messages of the last assembly or
// build, each with the bookmark that leads to its source, and the make output lines; and the
// way from a message to its line.
class TMessageList {
public:
    TMessageList(TBufferList& buffers, TShellHost& host);

    // In list order; a message's text is its bookmark's Message. A message without a line
    // (an internal failure) only shows its text.
    TObjectList<TErrorBookmark> Messages;
    std::vector<std::string> MakeOutput;

    // The views refresh from here.
    std::function<void()> MessagesChanged = [] {};
    std::function<void()> MakeOutputChanged = [] {};
    // The message shown last, for the view to select.
    std::function<void(int index)> MessageShown = [](int) {};
    // Marks a stretch of the current buffer's line (0-based), the message's place.
    std::function<void(int line, int column, int length)> HighlightRange = [](int, int, int) {};

    void ClearMessages();
    void AddMessage(TErrorBookmark* message); // takes it
    void ClearMakeOutput();
    void AddMakeOutput(std::string line);
    void AddMakeOutput(const std::vector<std::string>& lines);

    // A click on a message (or the arrow keys onto it): its file, when open, becomes current
    // with the caret on the message; false when the file is not open.
    bool Select(int index);
    // A double click or Enter: the same, opening the file along the search path when it is
    // not open; false when it cannot be found.
    bool Activate(int index);

private:
    TBufferList& Buffers;
    TShellHost& Host;

    void GoTo(const TErrorBookmark& message);
};

} // namespace corvid
