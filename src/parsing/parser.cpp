#include "parsing/parser.h"

#include "parsing/scanning.h"

#include <memory>

namespace corvid {

void TParser::Parse() {
    Line = 1;
    Column = 1;
    int pending = 0;
    while (GetChar(CurrentChar, Column, Line)) {
        if (pending > 0) {
            --pending;
            continue;
        }
        pending = OfferPosition() - 1;
    }
}

// Every recogniser sees the position exactly as the loop left it, whatever the ones before it
// read ahead; saving and restoring the three fields is all a position costs.
int TParser::OfferPosition() {
    for (TParserObject* object : ParserObjects) {
        const int savedChar = CurrentChar;
        const int savedColumn = Column;
        const int savedLine = Line;
        const int count = object->Match(*this);
        CurrentChar = savedChar;
        Column = savedColumn;
        Line = savedLine;
        if (count > 0)
            return count;
    }
    return 0;
}

int TParser::NextChar() {
    if (!GetChar(CurrentChar, Column, Line))
        CurrentChar = EndOfInputChar;
    return CurrentChar;
}

void TOutputListParser::AddToken(TParserToken&& token) {
    CORVID_ASSERT(OutputList != nullptr, "TOutputListParser.AddToken No Output List");
    auto owned = std::make_unique<TParserToken>(std::move(token));
    // Released only once the list holds it: a list that cannot grow leaves the token to us.
    OutputList->Add(owned.get());
    owned.release();
}

int TSkipWhitespaceParserObject::Match(TParser& parser) {
    int count = 0;
    for (int c = parser.CurrentChar; c == ' ' || c == '\t' || c == EndOfLineChar;
         c = parser.NextChar())
        ++count;
    return count;
}

int TBadInputParserObject::Match(TParser& parser) {
    AddToken(parser, tkBadInput, 0, parser.Line, parser.Column - 1,
             std::string(1, CharOf(parser.CurrentChar)));
    int count = 0;
    while (parser.CurrentChar != EndOfInputChar) {
        parser.NextChar();
        ++count;
    }
    return count;
}

} // namespace corvid
