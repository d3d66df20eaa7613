#pragma once

// The recognisers of C and C++ source, for symbol scans. Names, numbers and strings report the
// column after their first character (for strings: the first character inside the quotes);
// symbols report the column of their first character. None produces tkLabel.

#include "parsing/parser.h"

namespace corvid {

// Names of letters, digits and '_', not starting with a digit. A name equal to an entry of
// Words (case-sensitive, first entry wins) takes its Kind and Id; others are tkIdentifier.
class TIdentifierReservedParserObject : public TParserObject {
public:
    // In table order; empty here.
    TObjectList<TParserReservedWord> Words;

    int Match(TParser& parser) override;
};

// With the reserved words "class" (Id 0), "define" (1) and "typedef" (2).
class TCIdentifierReservedParserObject : public TIdentifierReservedParserObject {
public:
    TCIdentifierReservedParserObject();
};

// "::" 7, "{" 0, "}" 1, "(" 2, ")" 3, "[" 4, "]" 5, "#" 6, ";" 8; a single ':' is not a symbol.
class TCSymbolParserObject : public TParserObject {
public:
    TCSymbolParserObject();
    // In table order.
    TObjectList<TParserReservedWord> Words;

    int Match(TParser& parser) override;
};

// Decimal, hexadecimal (0x1F, written with a lower-case x in the text) and fractional numbers
// (3.14, .5; Id 1). No suffixes and no exponent: 1e5 is the number 1 and the name e5.
class TCNumberParserObject : public TParserObject {
public:
    int Match(TParser& parser) override;
};

// Double-quoted strings; a backslash takes the next character into the text with it, line ends
// are kept as byte 255, and an unclosed string runs to the end of the input.
class TCStringParserObject : public TParserObject {
public:
    int Match(TParser& parser) override;
};

// "//" to the end of the line and "/* ... */". Produces no token.
class TCCommentParserObject : public TParserObject {
public:
    int Match(TParser& parser) override;
};

} // namespace corvid
