#pragma once

#include "foundation/object_list.h"

#include <string>
#include <utility>

namespace corvid {

// Token kinds. The recognisers produce 1..6 and 255; nothing in the scan produces tkEnd, which
// readers of a token list use for their own end-of-input token.
inline constexpr int tkReserved = 1;
inline constexpr int tkIdentifier = 2;
inline constexpr int tkSymbol = 3;
inline constexpr int tkNumber = 4;
inline constexpr int tkString = 5;
inline constexpr int tkLabel = 6;
inline constexpr int tkBadInput = 255;
inline constexpr int tkEnd = -1;

// Values of TParser::CurrentChar that are not bytes of the text.
inline constexpr int EndOfLineChar = -1;
inline constexpr int EndOfInputChar = -2;

// Positions are 1-based. Column is the column of the token's first character unless the
// recogniser that made it documents otherwise.
struct TParserToken {
    int Id = 0; // identity in a word or symbol table, 0 for tokens from no table
    int Kind = 0;
    int Line = 0;
    int Column = 0;
    std::string Text; // as written, case kept
};

// One entry of a recogniser's word table: a matching token gets Kind and Id.
struct TParserReservedWord {
    TParserReservedWord(std::string name, int kind, int id)
        : Id(id), Kind(kind), Name(std::move(name)) {}
    int Id;
    int Kind;
    std::string Name;
};

class TParser;

// A recogniser in a parser's chain.
class TParserObject {
public:
    virtual ~TParserObject() = default;
    // Called with parser.CurrentChar at the character being offered. Returns how many characters
    // it consumes, that one included (0 or less: not recognised). It may read ahead with
    // parser.NextChar() without undoing anything: the parser restores its position afterwards.
    virtual int Match(TParser& parser) = 0;
};

// Offers every position of a text to a chain of recognisers; the first that claims a position
// decides how many characters it takes. The character source and the token sink are the
// subclass's business. One scan at a time; Parse may be run again.
class TParser {
public:
    TParser() = default;
    virtual ~TParser() = default;
    TParser(const TParser&) = delete;
    TParser& operator=(const TParser&) = delete;

    // The chain in priority order; owns the recognisers.
    TObjectList<TParserObject> ParserObjects;

    int CurrentChar = 0; // byte 0..255, EndOfLineChar or EndOfInputChar
    int Column = 1;      // column of the character after CurrentChar
    int Line = 1;        // line of the next character to read

    // Delivers the character at (line, column) and advances past it. Every line ends with
    // EndOfLineChar, which moves to column 1 of the next line; at the end of the input the
    // character becomes EndOfInputChar and the result is false. Must depend on the position
    // only: the scan re-reads characters after restoring an earlier position.
    virtual bool GetChar(int& currentChar, int& column, int& line) = 0;
    // Receives a finished token.
    virtual void AddToken(TParserToken&& token) = 0;

    // Scans the whole input from line 1, column 1.
    void Parse();
    // Advances to the next character and returns it; for recognisers reading ahead.
    int NextChar();

private:
    int OfferPosition();
};

// The base of the concrete parsers.
class TBasicParser : public TParser {};

// Appends the tokens to a list that the caller owns; the list owns them once added.
class TOutputListParser : public TBasicParser {
public:
    TObjectList<TParserToken>* OutputList = nullptr;

    void SetOutputList(TObjectList<TParserToken>& list) { OutputList = &list; }
    void AddToken(TParserToken&& token) override;
};

// Skips blanks, tabs and line ends.
class TSkipWhitespaceParserObject : public TParserObject {
public:
    int Match(TParser& parser) override;
};

// Claims any position: reports its character as one tkBadInput token and swallows the rest of
// the input, so a chain ending with it delivers the tokens up to the first bad character only.
class TBadInputParserObject : public TParserObject {
public:
    int Match(TParser& parser) override;
};

} // namespace corvid
