#include "editor/words.h"

namespace corvid {

namespace {

int Length(std::string_view text) {
    return static_cast<int>(text.size());
}

// A place past the text holds no word character.
bool IsWordAt(std::string_view text, int index, const TCharSet& wordCharacters) {
    return index >= 0 && index < Length(text) &&
           wordCharacters.Contains(text[static_cast<size_t>(index)]);
}

} // namespace

int NextWordStart(std::string_view text, int column, const TCharSet& wordCharacters) {
    const int length = Length(text);
    int index = column < 0 ? 0 : column;
    while (index < length && IsWordAt(text, index, wordCharacters))
        ++index;
    while (index < length && !IsWordAt(text, index, wordCharacters))
        ++index;
    return index < length ? index : length;
}

int PreviousWordStart(std::string_view text, int column, const TCharSet& wordCharacters) {
    if (column > Length(text))
        return Length(text);
    int index = column;
    while (index >= 0 && IsWordAt(text, index, wordCharacters))
        --index;
    while (index >= 0 && !IsWordAt(text, index, wordCharacters))
        --index;
    while (index >= 0 && IsWordAt(text, index, wordCharacters))
        --index;
    return index + 1;
}

std::optional<TWordBounds> WordBounds(std::string_view text, int column,
                                      const TCharSet& wordCharacters) {
    if (column < 0 || column > Length(text))
        return std::nullopt;
    TWordBounds bounds{column, column};
    while (IsWordAt(text, bounds.Start - 1, wordCharacters))
        --bounds.Start;
    while (IsWordAt(text, bounds.End, wordCharacters))
        ++bounds.End;
    return bounds;
}

} // namespace corvid
