#pragma once

#include "platform/child_process.h"

#include <chrono>
#include <functional>
#include <string>

namespace corvid {

class TBufferList;
class TMessageList;
class TShellHost;
class TTextEditorFile;

// The external build: the build script "compile.sh" run with /bin/sh on the current file,
// whose output "compile.out" (beside the script) becomes messages and code marks when it ends.
// The window polls it from a timer while it runs.
class TExternalBuild {
public:
    TExternalBuild(TBufferList& buffers, TMessageList& messages, TShellHost& host);

    // The script to run; found along the data directories by the window.
    std::string ScriptPath;
    // Where the user looks after a build: the editor on success, the messages otherwise.
    std::function<void(bool succeeded)> ShowResult = [](bool) {};

    // "Obsolete > Assemble": saves the modified buffers and starts the script.
    void Start();
    bool Running() const { return Process.Running(); }
    // True once when the script has ended and its output is read.
    bool Poll();

    // The output lines of a finished script read into the message list and the marks of the
    // buffer that was built; true when no line was a message.
    bool ReadOutput(const std::string& outputFile, TTextEditorFile* built);

private:
    TBufferList& Buffers;
    TMessageList& Messages;
    TShellHost& Host;
    TChildProcess Process;
    std::chrono::steady_clock::time_point StartTime;
    TTextEditorFile* Built = nullptr; // the buffer the build was started on

    std::string OutputFile() const;
    bool StillOpen(const TTextEditorFile* buffer) const;
};

} // namespace corvid
