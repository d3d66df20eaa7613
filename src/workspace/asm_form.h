#pragma once

#include "assembler/hc11_assembler.h"

#include <functional>
#include <string>

namespace corvid {

class TBufferList;
class TMessageList;
class TShellHost;
class TTextEditorFile;

// The assemble command: it assembles the current buffer as the editor holds it, fills the
// message list and the merged listing, puts a code mark on every source line that produced
// code (breakpoints stay on the lines that still do), and keeps the place of the last message
// and the program's start address for the debugger. One assembler lives as long as the IDE,
// so the labels of the last assembly stay readable.
class TAsmForm {
public:
    TAsmForm(TBufferList& buffers, TMessageList& messages, TShellHost& host);

    THC11Assembler Assembler;
    bool CompatibilityMode = false;
    // Assemble again after every change of the text (the window coalesces a burst of changes
    // into one call).
    bool AutoAssemble = false;

    // The last assembly reported a message with a place in the source.
    bool HasMessage = false;
    // The last assembly failed: an error, or an internal failure with no place.
    bool Failed = false;
    int MessageLine = 0; // 0-based
    int MessageColumn = 0;
    int MessageLength = 0;
    // The entry address of the last assembly; -1 when it had no instruction.
    int StartAddress = -1;

    // After every assembly: the debugger brings its label views up to date.
    std::function<void()> Assembled = [] {};
    // Marks the last message's place again (the editor's highlighted word).
    std::function<void(int line, int column, int length)> HighlightRange = [](int, int, int) {};

    // F7: saves the modified buffers, assembles, checks the files on disk and, when there was
    // a message, shows the first. True when the program can be loaded: no message at all.
    bool Assemble();
    // One assembly of the current buffer.
    void MakeOutput();
    // The editor's text changed (1) or its caret moved (2).
    void EditorMessage(int kind);

    // The object file of a buffer: its name up to the first '.', with ".s19", beside it. An
    // untitled buffer assembles into the temporary directory.
    static std::string ObjectFileName(const TTextEditorFile& buffer);

private:
    TBufferList& Buffers;
    TMessageList& Messages;
    TShellHost& Host;
};

} // namespace corvid
