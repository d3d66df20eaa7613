#pragma once

#include "editor/char_set.h"
#include "editor/colour_cells.h"
#include "foundation/object_list.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

class TEditorFileParser;

// The colour classes of a language description.
enum TColourClass : int {
    ccNormal = 0,
    ccIdentifier = 1,
    ccReservedWord = 2, // the colours the next added reserved words take
    ccOther = 3,
    ccNumber = 4,
    ccString = 5, // strings and prefixed constants
    ccBlockComment = 6,
    ccLineComment = 7,
    ccSelection = 8,
    ccHighlightedWord = 9,
    ColourClassCount = 10,
};

// The editor's default colours, in the stored Windows form.
inline constexpr TColor NavyColor = 0x800000;
inline constexpr TColor WhiteColor = 0xFFFFFF;
inline constexpr TColor YellowColor = 0x00FFFF;
inline constexpr TColor AquaColor = 0xFFFF00;
inline constexpr TColor LimeColor = 0x00FF00;
inline constexpr TColor SilverColor = 0xC0C0C0;
inline constexpr TColor BlackColor = 0x000000;
inline constexpr TColor ButtonFaceColor = 0x8000000F;

class TTextEditorReservedWord {
public:
    TTextEditorReservedWord(std::string text, TColourPair colours)
        : Text(std::move(text)), Colours(colours) {}

    std::string Text;
    TColourPair Colours;
};

// Reserved words sorted case-insensitively, with 256 buckets indexed by the upper-cased first
// character. The index is built again on the first look-up after a change.
class TTextEditorReservedWordList : public TObjectList<TTextEditorReservedWord> {
public:
    TTextEditorReservedWordList();

    const char* ClassName() const override { return "TTextEditorReservedWordList"; }

    struct TBucket {
        int First = -1;
        int Count = 0;
    };

    // Sorts the list and fills the buckets.
    void BuildIndex();
    const TBucket& Bucket(char first) const;

    // The word that starts at position of text and is not followed by a word character; with
    // caseSensitive it must also match letter for letter.
    const TTextEditorReservedWord* Match(std::string_view text, size_t position,
                                         const TCharSet& wordCharacters, bool caseSensitive) const;

private:
    // The sorted order of the words, as BuildIndex leaves the list itself.
    mutable std::vector<TTextEditorReservedWord*> Sorted;
    mutable std::array<TBucket, 256> Buckets{};
    mutable bool IndexValid = false;

    void EnsureIndex() const;
    void FillBuckets() const;
};

// One language: the colours, the comment and string conventions, the character classes and
// reserved words that colouring, templates and word navigation use. The editor has a default
// one; a file's language overrides it.
class TTextEditorMultiFileInfo {
public:
    TTextEditorMultiFileInfo();
    ~TTextEditorMultiFileInfo();
    TTextEditorMultiFileInfo(const TTextEditorMultiFileInfo&) = delete;
    TTextEditorMultiFileInfo& operator=(const TTextEditorMultiFileInfo&) = delete;

    std::array<TColourPair, ColourClassCount> Colors;
    TTextEditorReservedWordList ReservedWords;
    TTextEditorReservedWordList* ExtraWords = nullptr; // searched after ReservedWords; not owned

    std::string BlockStart; // templates' $startblock$ and $endblock$
    std::string BlockEnd;
    // A required column of 0 allows the comment anywhere; otherwise only at that 1-based column.
    std::array<std::string, 2> LineCommentStart;
    std::array<int, 2> LineCommentColumn{0, 0};
    std::array<std::string, 2> BlockCommentStart;
    std::array<std::string, 2> BlockCommentEnd;
    std::string InStringSequence;

    char StringQuote = 0; // 0: none
    char StringEscape = 0;
    char ConstantPrefix = 0;
    bool CaseSensitive = false;

    TCharSet Digits;
    TCharSet NumberCharacters;
    TCharSet IdentifierStarts;
    TCharSet WordCharacters;

    // The symbol scanner of the IDE's symbol commands, or none.
    std::unique_ptr<TEditorFileParser> Parser;

    // Adds a word in the reserved-word colours (class 2) of this moment.
    void AddReservedWord(std::string_view text);
};

} // namespace corvid
