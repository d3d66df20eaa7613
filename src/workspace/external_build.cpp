#include "workspace/external_build.h"

#include "editor/bookmarks.h"
#include "editor/text_editor.h"
#include "editor/text_editor_file.h"
#include "foundation/file_names.h"
#include "foundation/file_stream.h"
#include "workspace/buffer_list.h"
#include "workspace/build_output.h"
#include "workspace/message_list.h"
#include "workspace/shell_host.h"

#include <cstdio>

namespace corvid {

namespace {

constexpr int OutputBufferSize = 2048;

std::vector<std::string> ReadLines(const std::string& fileName) {
    TBufFileStream file(fileName, OutputBufferSize, FileMode::OpenRead);
    std::vector<std::string> lines;
    std::string line;
    while (file.ReadLine(line) > 0)
        lines.push_back(line);
    return lines;
}

std::string Seconds(double seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

} // namespace

TExternalBuild::TExternalBuild(TBufferList& buffers, TMessageList& messages, TShellHost& host)
    : Buffers(buffers), Messages(messages), Host(host) {}

std::string TExternalBuild::OutputFile() const {
    return DirectoryOf(ScriptPath) + "compile.out";
}

bool TExternalBuild::StillOpen(const TTextEditorFile* buffer) const {
    for (int index = 0; index < Buffers.Count(); ++index)
        if (&Buffers.Buffer(index) == buffer)
            return true;
    return false;
}

void TExternalBuild::Start() {
    Buffers.SaveAll();
    StartTime = std::chrono::steady_clock::now();
    Built = &Buffers.CurrentBuffer();
    const std::string directory = DirectoryOf(ScriptPath);
    if (ScriptPath.empty() || !Process.Start("/bin/sh", {ScriptPath, Built->FileName}, directory)) {
        Host.ShowStatus("Error Running \"" + ScriptPath + "\"");
        return;
    }
    Host.ShowStatus("Compiling...");
}

bool TExternalBuild::Poll() {
    if (!Process.Running() || !Process.Poll())
        return false;
    const bool succeeded = ReadOutput(OutputFile(), StillOpen(Built) ? Built : nullptr);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - StartTime).count();
    ShowResult(succeeded);
    Host.ShowStatus((succeeded ? "Compiled OK In (" : "Compile Failed In (") + Seconds(seconds) +
                    ") Seconds");
    return true;
}

bool TExternalBuild::ReadOutput(const std::string& outputFile, TTextEditorFile* built) {
    Messages.ClearMessages();
    Messages.ClearMakeOutput();
    const std::vector<std::string> lines = ReadLines(outputFile);
    Messages.AddMakeOutput(lines);
    const std::string moduleName = built ? FileNameOnly(built->FileName) : std::string();
    const TBuildOutput output = ParseBuildOutput(lines, moduleName);
    for (const TBuildMessage& found : output.Messages) {
        auto* message = new TErrorBookmark;
        message->SetPosition(found.Line, found.Column);
        message->Message = found.Text;
        message->ModuleName = found.ModuleName;
        Messages.AddMessage(message);
    }
    if (built) {
        built->Bookmarks.DeleteWhere([](const TTextEditorBookmark* bookmark) {
            return dynamic_cast<const THC11SymbolBookmark*>(bookmark) != nullptr;
        });
        TTextEditor* editor = &Buffers.EditorControl();
        for (const TCodeMark& mark : output.Marks)
            built->Bookmarks.Add(new THC11SymbolBookmark(editor, mark.Line, mark.Address));
        editor->InvalidateAll();
    }
    return output.Succeeded;
}

} // namespace corvid
