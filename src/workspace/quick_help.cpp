#include "workspace/quick_help.h"

#include "foundation/case_fold.h"
#include "foundation/extract_pattern.h"
#include "foundation/file_stream.h"

#include <algorithm>
#include <filesystem>

namespace corvid {

namespace {

constexpr int HelpBufferSize = 2048;

bool IsWordCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

std::string_view DirectiveOf(std::string_view line) {
    return line.substr(0, line.find(' '));
}

} // namespace

void TQuickHelp::Clear() {
    Entries.Clear();
    Topics.Clear();
}

void TQuickHelp::LoadFromFile(const std::string& fileName) {
    Clear();
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error))
        return;
    TBufFileStream file(fileName, HelpBufferSize, FileMode::OpenRead);
    std::string text;
    char block[HelpBufferSize];
    for (size_t got; (got = file.Read(block, sizeof block)) > 0;)
        text.append(block, got);
    LoadFromText(text, fileName);
}

void TQuickHelp::LoadFromText(std::string_view text, std::string_view fileName) {
    Clear();
    TQuickHelpTopic* current = nullptr;
    TQuickHelpTopic* lineHelpTopic = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        // Lines end as the stream reader ends them: CR LF, LF CR, CR or LF.
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        AddLine(text.substr(start, end - start), fileName, current, lineHelpTopic);
        start = end;
        if (start < text.size()) {
            const char first = text[start++];
            if (start < text.size() && (text[start] == '\r' || text[start] == '\n') &&
                text[start] != first)
                ++start;
        }
    }
}

void TQuickHelp::AddLine(std::string_view line, std::string_view fileName,
                         TQuickHelpTopic*& current, TQuickHelpTopic*& lineHelpTopic) {
    if (line.empty() || line.front() == ';')
        return;
    if (line.front() != ':') {
        if (current)
            current->Lines.emplace_back(line);
        return;
    }
    const std::string_view directive = DirectiveOf(line);
    if (directive == ":Title") {
        current = Topics.Add(new TQuickHelpTopic{ExtractPattern(line, "ffc ffn rt[msce]"), {}});
        return;
    }
    if (directive != ":LineHelp")
        return;
    const std::string rest = ExtractPattern(line, "ffc ffn rt[msce]");
    Entries.Add(new TQuickHelpEntry{ExtractPattern(rest, "msffn ffc rt[-]mecm"),
                                    ExtractPattern(rest, "ffn ffc ffn rt[msce]")});
    if (!lineHelpTopic)
        lineHelpTopic =
            Topics.Add(new TQuickHelpTopic{"Line Help For \"" + std::string(fileName) + "\"", {}});
    lineHelpTopic->Lines.push_back(rest);
    current = nullptr;
}

const TQuickHelpEntry* TQuickHelp::Lookup(std::string_view line, int caretColumn) const {
    if (line.empty())
        return nullptr;
    int position = std::clamp(caretColumn + 1, 1, static_cast<int>(line.size()));
    while (position > 1 && IsWordCharacter(line[static_cast<size_t>(position) - 2]))
        --position;
    const std::string_view word = line.substr(static_cast<size_t>(position) - 1);
    const TQuickHelpEntry* best = nullptr;
    size_t bestCount = 0;
    for (const TQuickHelpEntry* entry : Entries) {
        size_t count = 0;
        while (count < entry->Word.size() && count < word.size() &&
               UpCase(entry->Word[count]) == UpCase(word[count]))
            ++count;
        if (count > bestCount) {
            best = entry;
            bestCount = count;
        }
        if (count > 0 && count == entry->Word.size())
            break;
    }
    return best;
}

std::string TQuickHelp::StatusText(const TQuickHelpEntry& entry) {
    return entry.Word + ": " + entry.Text;
}

} // namespace corvid
