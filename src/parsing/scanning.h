#pragma once

// Character classes, token creation and comment scanning shared by the recognisers of both
// languages. Characters are the parser's int values: bytes 0..255 and the negative markers, so
// bytes above 127 are never letters or digits.

#include "parsing/parser.h"

#include <string>

namespace corvid {

constexpr bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsAsciiLetter(int c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr bool IsHexLetter(int c) {
    return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
constexpr bool IsHexDigit(int c) {
    return IsDigit(c) || IsHexLetter(c);
}

// The byte that stands for a character in token text; a line end becomes byte 255.
inline char CharOf(int c) {
    return static_cast<char>(c == EndOfLineChar ? 255 : c);
}

// Passes a token on to the parser. Recognisers take line and column before reading ahead, which
// may move the parser to the next line.
void AddToken(TParser& parser, int kind, int id, int line, int column, std::string text);

// Length of a comment running from the current character to the end of its line, the line end
// included.
int RestOfLineLength(TParser& parser);

// Length of a "//" or "/*" comment starting at the current character, 0 when there is none. A
// block comment closes at the first "*/" whose '*' follows the opening pair, or at the end of
// the input.
int SlashCommentLength(TParser& parser);

} // namespace corvid
