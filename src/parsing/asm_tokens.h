#pragma once

// The recognisers of 68HC11 assembly source. The assembler chains them behind a
// TSkipWhitespaceParserObject in the order comment, name, number, symbol, string.

#include "parsing/parser.h"

#include <string_view>

namespace corvid {

// Ids of the reserved words (all tkReserved). Mnemonics are numbered alphabetically from
// AsmFirstMnemonic (ABA) to AsmLastMnemonic (XGDY), leaving out 134; AsmReservedWordId gives
// the Id of each.
enum TAsmReservedWordId : int {
    AsmDirectiveOrg = 1,
    AsmDirectiveEqu = 2,
    AsmDirectiveFcb = 3,
    AsmDirectiveFcc = 4,
    AsmDirectiveFdb = 5,
    AsmDirectiveRmb = 6,
    AsmDirectiveEnd = 7,
    AsmFirstMnemonic = 8,
    AsmLastMnemonic = 154,
    AsmRegisterX = 155,
    AsmRegisterY = 156,
};

// Ids of the symbols (all tkSymbol, one character each).
enum TAsmSymbolId : int {
    AsmSymbolColon = 0,     // :
    AsmSymbolComma = 1,     // ,
    AsmSymbolHash = 2,      // #
    AsmSymbolStar = 3,      // *
    AsmSymbolPlus = 4,      // +
    AsmSymbolMinus = 5,     // -
    AsmSymbolPercent = 6,   // %
    AsmSymbolCaret = 7,     // ^
    AsmSymbolBar = 8,       // |
    AsmSymbolAmpersand = 9, // &
    AsmSymbolSlash = 10,    // /
    AsmSymbolGreater = 11,  // >
    AsmSymbolLess = 12,     // <
};

// The Id of a directive, mnemonic or index register, compared case-insensitively; 0 when the
// name is not reserved.
int AsmReservedWordId(std::string_view name);

// ';' to the end of the line, '*' in column 1 for a whole line, "//" and "/* ... */" (which may
// span lines). Produces no token.
class TAsmCommentParserObject : public TParserObject {
public:
    int Match(TParser& parser) override;
};

// Names of '.', '_', letters and digits, not starting with a digit. A reserved word gives
// tkReserved with its Id wherever it stands; another name is a tkLabel in column 1 and a
// tkIdentifier elsewhere.
class TAsmIdentifierReservedParserObject : public TParserObject {
public:
    TAsmIdentifierReservedParserObject();
    // Every reserved word, sorted by upper-cased name; filled by the constructor.
    TObjectList<TParserReservedWord> Words;

    int Match(TParser& parser) override;
};

// $hex, @octal and decimal numbers; the token text keeps the prefix. A number running into a
// letter or '_' (12AB, $1G, 9_) is not a number at all.
class TAsmNumberParserObject : public TParserObject {
public:
    int Match(TParser& parser) override;
};

// The one-character operators and punctuation of TAsmSymbolId.
class TAsmSymbolParserObject : public TParserObject {
public:
    TAsmSymbolParserObject();
    // In table order.
    TObjectList<TParserReservedWord> Words;

    int Match(TParser& parser) override;
};

// Single-quoted strings without escapes, ending at the closing quote or the line end. The token
// Column is that of the first character inside the quotes.
class TAsmStringParserObject : public TParserObject {
public:
    int Match(TParser& parser) override;
};

} // namespace corvid
