#pragma once

#include "foundation/object_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvid {

// One line of help for a word, shown while the caret is on that word.
struct TQuickHelpEntry {
    std::string Word;
    std::string Text;
};

// A browsable section of the help file: a title and its lines.
struct TQuickHelpTopic {
    std::string Title;
    std::vector<std::string> Lines;
};

// The quick help of "hc11.qhp": a text file where ":Title <title>" starts a topic whose text
// the following lines are, and ":LineHelp <word> <text>" gives the help line for a word (all
// of them also form a topic of their own). Empty lines and lines starting with ';' are
// skipped, other ':' lines ignored.
class TQuickHelp {
public:
    TObjectList<TQuickHelpEntry> Entries; // in file order
    TObjectList<TQuickHelpTopic> Topics;

    // Replaces the help with the file's; a missing file leaves it empty. Unreadable files
    // raise EInOutError.
    void LoadFromFile(const std::string& fileName);
    void LoadFromText(std::string_view text, std::string_view fileName);

    // The entry for the word at the caret (0-based column) of a line: the entry sharing the
    // most leading characters with the word, letter case ignored; on a tie the earlier
    // entry; the first entry matched whole ends the search. None when no entry shares even a
    // first character.
    const TQuickHelpEntry* Lookup(std::string_view line, int caretColumn) const;

    // "word: text", the quick help line the status panel shows.
    static std::string StatusText(const TQuickHelpEntry& entry);

private:
    void Clear();
    void AddLine(std::string_view line, std::string_view fileName, TQuickHelpTopic*& current,
                 TQuickHelpTopic*& lineHelpTopic);
};

} // namespace corvid
