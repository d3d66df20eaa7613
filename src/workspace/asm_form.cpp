#include "workspace/asm_form.h"

#include "assembler/merged_listing.h"
#include "editor/bookmarks.h"
#include "editor/editor_file_parser.h"
#include "editor/text_editor.h"
#include "editor/text_editor_file.h"
#include "foundation/file_names.h"
#include "workspace/buffer_list.h"
#include "workspace/message_list.h"
#include "workspace/shell_host.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace corvid {

namespace {

const THC11SymbolBookmark* AsSymbolMark(const TTextEditorBookmark* bookmark) {
    return dynamic_cast<const THC11SymbolBookmark*>(bookmark);
}

// Removes the code marks of the last assembly and tells the lines that had a breakpoint.
std::set<int> RemoveCodeMarks(TTextEditorFile& file) {
    std::set<int> breakpointLines;
    file.Bookmarks.DeleteWhere([&](const TTextEditorBookmark* bookmark) {
        const THC11SymbolBookmark* mark = AsSymbolMark(bookmark);
        if (mark && mark->Breakpoint())
            breakpointLines.insert(mark->Line());
        return mark != nullptr;
    });
    return breakpointLines;
}

void RestoreBreakpoints(TTextEditorFile& file, const std::set<int>& lines) {
    if (lines.empty())
        return;
    for (TTextEditorBookmark* bookmark : file.Bookmarks)
        if (auto* mark = dynamic_cast<THC11SymbolBookmark*>(bookmark);
            mark && lines.count(mark->Line()))
            mark->SetBreakpoint(true);
}

} // namespace

TAsmForm::TAsmForm(TBufferList& buffers, TMessageList& messages, TShellHost& host)
    : Buffers(buffers), Messages(messages), Host(host) {}

std::string TAsmForm::ObjectFileName(const TTextEditorFile& buffer) {
    if (buffer.FileName.empty())
        return (std::filesystem::temp_directory_path() / "corvid-untitled.s19").string();
    return PathWithoutExtension(buffer.FileName) + ".s19";
}

bool TAsmForm::Assemble() {
    Buffers.SaveAll();
    MakeOutput();
    Buffers.CheckFileDates();
    if (HasMessage || !Messages.Messages.IsEmpty())
        Messages.Select(0);
    return !HasMessage && !Failed;
}

void TAsmForm::MakeOutput() {
    TTextEditorFile& file = Buffers.CurrentBuffer();
    TTextEditor& editor = Buffers.EditorControl();
    Messages.ClearMessages();
    Messages.ClearMakeOutput();
    std::vector<std::string> listing;
    TMergedListing merger(file, [&](const std::string& line) { listing.push_back(line); });
    merger.Begin(file.FileName);

    const std::set<int> breakpointLines = RemoveCodeMarks(file);
    HasMessage = false;
    Assembler.CompatibilityMode = CompatibilityMode;
    const std::string moduleName = FileNameOnly(file.FileName);

    TEditorFileParser parser;
    parser.Source = &file;
    const bool succeeded = Assembler.Assemble(
        parser, ObjectFileName(file),
        [&](const std::string& text, int, int line, int column, int length) {
            auto* message = new TErrorBookmark;
            message->ModuleName = moduleName;
            if (line >= 1) {
                // Messages keep the 1-based line and the 0-based column of their token.
                message->SetPosition(line, std::max(column - 1, 0));
                message->Message =
                    "(" + std::to_string(line) + "," + std::to_string(column) + ")" + text;
                MessageLine = line - 1;
                MessageColumn = std::max(column - 1, 0);
                MessageLength = std::max(length, 1);
                HasMessage = true;
            } else {
                message->SetPosition(0, 0);
                message->Message = text;
            }
            Messages.AddMessage(message);
        },
        [&](int kind, int line, const TAsmInfoData& data) {
            if (kind == AsmInfoInstruction)
                file.Bookmarks.Add(new THC11SymbolBookmark(&editor, line - 1, data.Address));
            else if (kind == AsmInfoListing && !AutoAssemble)
                merger.AddListing(line, data.Text);
            else if (kind == AsmInfoEndOfCode)
                merger.EndOfCode();
        });
    Failed = !succeeded;
    Messages.AddMakeOutput(listing);
    RestoreBreakpoints(file, breakpointLines);
    StartAddress = Assembler.EntryAddress;
    editor.InvalidateAll();
    Assembled();
}

void TAsmForm::EditorMessage(int kind) {
    if (!AutoAssemble)
        return;
    if (kind == 1)
        MakeOutput();
    else if (kind == 2 && HasMessage)
        HighlightRange(MessageLine, MessageColumn, MessageLength);
}

} // namespace corvid
