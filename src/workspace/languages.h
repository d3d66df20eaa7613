#pragma once

#include "editor/language_info.h"
#include "editor/syntax_highlighter.h"
#include "foundation/object_list.h"

#include <string>
#include <string_view>

namespace corvid {

class TTextEditorFile;

// One language: a name, the file masks that select it, and the editor settings its files are
// coloured and scanned with.
struct TLanguage {
    int Enabled = 1;
    std::string Name;
    std::string FileMasks; // ';'-separated, for MatchesMaskList
    TTextEditorMultiFileInfo Settings;
};

// An entry of the Open dialog's file types.
struct TExtension {
    std::string Description;
    std::string Mask;
};

// The four languages of the IDE, in the order their masks are tried: "C++", "Pascal", "HC11"
// and "Default" (every other file), with their colours, comments, strings, character classes,
// reserved words and symbol scanners; and the file types of the Open dialog.
class TLanguageTable {
public:
    // extraWords: the project symbols, coloured in C++ and HC11 files (not owned).
    explicit TLanguageTable(TTextEditorReservedWordList* extraWords);

    TObjectList<TLanguage> Languages;
    TObjectList<TExtension> Extensions;

    // The first language whose masks match the file name; "Default" matches any.
    TLanguage* ForFile(std::string_view fileName) const;
    // Gives the buffer its language and the highlighter; none when nothing matches.
    void Attach(TTextEditorFile& buffer);

    // "desc (mask)|mask|" for every file type, as stored filters read.
    std::string OpenFilter() const;

private:
    TGoodSyntaxHighlighter Highlighter;
};

} // namespace corvid
