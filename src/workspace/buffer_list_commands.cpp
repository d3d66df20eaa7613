// The File menu commands and the tab commands over the buffer list.

#include "workspace/buffer_list.h"

#include "editor/text_editor.h"
#include "editor/text_editor_file.h"
#include "foundation/case_fold.h"
#include "foundation/errors.h"
#include "foundation/file_names.h"
#include "workspace/buffer_list_dialog.h"
#include "workspace/configuration_file.h"
#include "workspace/file_information.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_set>

namespace corvid {

namespace {

constexpr int PrintIndent = 12;

bool IsPlainFile(const std::string& name) {
    const auto file = StatDiskFile(name);
    return file && !file->IsDirectory;
}

// The directory prefixes of a search path: each one ends at a ';'. A last piece with no ';'
// after it is not a prefix, as stored search paths have always been read.
std::vector<std::string> SearchPathPrefixes(std::string_view searchPath) {
    std::vector<std::string> prefixes;
    for (size_t end = searchPath.find(';'); end != std::string_view::npos;
         end = searchPath.find(';')) {
        prefixes.emplace_back(searchPath.substr(0, end));
        searchPath.remove_prefix(end + 1);
    }
    return prefixes;
}

// The file a header or body switch looks for: the extensions to try, in order.
struct TCounterpart {
    std::array<const char*, 2> FromExtensions;
    std::array<const char*, 2> ToExtensions;
    const char* NotFound;
};

constexpr std::array<TCounterpart, 2> Counterparts{{
    {{".C", ".CPP"}, {".hpp", ".h"}, "Header Not Found"},
    {{".H", ".HPP"}, {".cpp", ".c"}, "Body Not Found"},
}};

const TCounterpart* CounterpartFor(const std::string& extension) {
    const std::string upper = UpperCase(extension);
    for (const TCounterpart& counterpart : Counterparts)
        for (const char* from : counterpart.FromExtensions)
            if (upper == from)
                return &counterpart;
    return nullptr;
}

} // namespace

void TBufferList::New() {
    TTextEditorFile* buffer = CreateBuffer().release();
    AttachLanguage(*buffer);
    Buffers.Insert(buffer, Current + 1);
    Select(IndexOf(*buffer));
    Host.ShowStatus("New File Created");
}

void TBufferList::Open() {
    const auto names = Host.AskOpenNames();
    if (!names || names->empty()) {
        Host.ShowStatus("Open Canceled");
        return;
    }
    // One file that cannot be read does not keep the others from opening.
    int opened = 0;
    std::string failures;
    for (const std::string& name : *names) {
        try {
            if (OpenAndShow(name))
                ++opened;
        } catch (const Error& error) {
            failures += (failures.empty() ? "" : "\n") + std::string(error.what());
        }
    }
    if (names->size() > 1)
        Host.ShowStatus(std::to_string(opened) + " Files Opened");
    if (!failures.empty())
        throw Error(failures);
}

void TBufferList::QuickOpen() {
    const auto name = Host.AskQuickOpenName();
    if (!name)
        return;
    switch (FindAndShow(*name)) {
    case TFileLookup::Shown:
        Host.ShowStatus("Quick Opened " + Quoted(*name));
        return;
    case TFileLookup::NotFound:
        Host.ShowStatus("Quick Open Could Not Find " + Quoted(*name));
        return;
    case TFileLookup::Canceled:
        return;
    }
}

TFileLookup TBufferList::FindAndShow(const std::string& name) {
    if (ActivateByFileName(name))
        return TFileLookup::Shown;
    for (const std::string& prefix : SearchPathPrefixes(Options.SearchPath)) {
        // The prefix carries its own separator: nothing is put between it and the name.
        const std::string candidate = prefix + name;
        if (IsPlainFile(candidate))
            return OpenAndShow(candidate) ? TFileLookup::Shown : TFileLookup::Canceled;
    }
    return TFileLookup::NotFound;
}

void TBufferList::Save() {
    SaveBuffers(Targets());
}

void TBufferList::SaveAs() {
    for (TTextEditorFile* buffer : Targets())
        if (SaveBufferAs(*buffer))
            UpdateProjectSymbols(*buffer);
}

void TBufferList::SaveAll() {
    int modified = 0;
    int saved = 0;
    for (TTextEditorFile* buffer : std::vector(Buffers.begin(), Buffers.end())) {
        if (!buffer->Modified)
            continue;
        ++modified;
        if (SaveBuffer(*buffer, TSaveMode::IfModified)) {
            ++saved;
            UpdateProjectSymbols(*buffer);
        }
    }
    Host.ShowStatus(modified == 0 ? "No Modified Files" : std::to_string(saved) + " File(s) Saved");
}

void TBufferList::Close() {
    CloseBuffers(Targets());
}

void TBufferList::Reload() {
    for (TTextEditorFile* buffer : Targets()) {
        if (buffer->FileName.empty())
            continue;
        if (Host.AskYesNo("Confirm", "Reload " + Quoted(DisplayName(*buffer)) + "?"))
            ReloadBuffer(*buffer);
    }
}

void TBufferList::CheckDateTime() {
    Host.ShowStatus(CheckFileDates() ? "Files Updated" : "File Up To Date");
}

void TBufferList::FileInformation() {
    TFileInformation information(Targets(), CurrentBuffer(), FormatFileTime);
    Host.ShowFileInformation(information);
    Host.BuffersChanged();
}

std::vector<std::string> TBufferList::PrintedLines(TPrintRange range) const {
    const TTextEditorFile& buffer = CurrentBuffer();
    int first = 0;
    int last = buffer.LineCount() - 1;
    const auto& selection = buffer.Selection();
    if (range == TPrintRange::Selection && selection.UpperLine() >= 0) {
        first = std::min(selection.UpperLine(), last);
        last = std::clamp(selection.LowerLine(), first, last);
    }
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(last - first + 1));
    for (int line = first; line <= last; ++line)
        lines.push_back(std::string(PrintIndent, ' ') + std::string(buffer.LineText(line)));
    return lines;
}

void TBufferList::Print() {
    const auto range = Host.AskPrintRange(Editor.HasSelection());
    if (!range) {
        Host.ShowStatus("Print Canceled");
        return;
    }
    Host.PrintLines(PrintedLines(*range));
    Host.ShowStatus("Printed " + Quoted(DisplayName(CurrentBuffer())));
}

bool TBufferList::ShowExistingOrOpen(const std::string& name) {
    if (ActivateByName(name))
        return true;
    if (!IsPlainFile(name))
        return false;
    OpenAndShow(name);
    return true;
}

void TBufferList::ToggleHeaderBody() {
    const std::string name = CurrentBuffer().FileName;
    const std::string extension = ExtensionOf(name);
    const TCounterpart* counterpart = CounterpartFor(extension);
    if (name.empty() || !counterpart)
        return;
    const std::string stem = name.substr(0, name.size() - extension.size());
    for (const char* to : counterpart->ToExtensions)
        if (ShowExistingOrOpen(stem + to))
            return;
    Host.ShowStatus(counterpart->NotFound);
}

void TBufferList::GotoFile(int number) {
    if (number >= 1 && number <= 9)
        Select(number - 1);
}

void TBufferList::GotoNextFile() {
    Select(Current + 1);
}

void TBufferList::GotoPreviousFile() {
    Select(Current - 1);
}

// A target hops over its neighbour only when the neighbour stays: a run of targets at the
// end of the strip keeps its order instead of turning around on itself.
void TBufferList::SwapFileUp() {
    const std::vector<TTextEditorFile*> targets = Targets();
    const std::unordered_set<TTextEditorFile*> isTarget(targets.begin(), targets.end());
    std::vector<TTextEditorFile*> order(Buffers.begin(), Buffers.end());
    for (int index = Count() - 2; index >= 0; --index) {
        const auto here = static_cast<size_t>(index);
        if (isTarget.contains(order[here]) && !isTarget.contains(order[here + 1]))
            std::swap(order[here], order[here + 1]);
    }
    Reorder(order);
}

void TBufferList::SwapFileDown() {
    const std::vector<TTextEditorFile*> targets = Targets();
    const std::unordered_set<TTextEditorFile*> isTarget(targets.begin(), targets.end());
    std::vector<TTextEditorFile*> order(Buffers.begin(), Buffers.end());
    for (int index = 1; index < Count(); ++index) {
        const auto here = static_cast<size_t>(index);
        if (isTarget.contains(order[here]) && !isTarget.contains(order[here - 1]))
            std::swap(order[here], order[here - 1]);
    }
    Reorder(order);
}

void TBufferList::MoveTargetsTo(int index) {
    if (index < 0 || index >= Count() || IsTarget(index))
        return;
    TTextEditorFile* dropTab = Buffers[index];
    const std::vector<TTextEditorFile*> targets = Targets();
    // Dragged to the right the targets land after the tab they were dropped on, to the left
    // before it: either way where the tab was.
    const bool towardsEnd = IndexOf(*targets.front()) < index;
    std::vector<TTextEditorFile*> order;
    for (TTextEditorFile* buffer : Buffers)
        if (std::find(targets.begin(), targets.end(), buffer) == targets.end())
            order.push_back(buffer);
    auto place = std::find(order.begin(), order.end(), dropTab);
    if (towardsEnd)
        ++place;
    order.insert(place, targets.begin(), targets.end());
    Reorder(order);
}

void TBufferList::Reorder(const std::vector<TTextEditorFile*>& order) {
    TTextEditorFile* current = &CurrentBuffer();
    for (int index = 0; index < Count(); ++index) {
        const int from = IndexOf(*order[static_cast<size_t>(index)]);
        if (from != index)
            Buffers.Swap(index, from);
    }
    Current = IndexOf(*current);
    ShowCurrent();
}

void TBufferList::ShowBufferList() {
    TBufferListDialog dialog(*this);
    Host.ShowBufferList(dialog);
}

} // namespace corvid
