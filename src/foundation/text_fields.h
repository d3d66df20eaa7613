#pragma once

#include <string>
#include <string_view>

namespace corvid {

// The n-th word (n from 1) of a text whose words are separated by runs of blanks; empty when
// there is none or n < 1.
std::string GetParam(std::string_view text, int n);
// The same with another separator character.
std::string GetParamSep(std::string_view text, int n, char separator);

// Extends with blanks to `width` or cuts to the first `width` characters.
std::string PadRight(std::string_view text, int width);
// Right-aligns in `width` with leading blanks; a longer text keeps its last `width` characters.
std::string PadLeft(std::string_view text, int width);
// Every tab becomes exactly `spaces` blanks (no tab stops).
std::string ExpandTabs(std::string_view text, int spaces);
// Cuts the text at its first zero byte.
void TruncateAtNul(std::string& text);
// Removes the character at the 1-based `index`; an index outside the text changes nothing.
void DeleteCharAt(int index, std::string& text);
bool CharInString(char c, std::string_view text);
// Case-insensitive comparison over the length of the shorter text.
bool StartsWithText(std::string_view a, std::string_view b);
std::string ReverseText(std::string_view text);

} // namespace corvid
