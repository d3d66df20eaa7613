#include "parsing/scanning.h"

#include <memory>
#include <utility>

namespace corvid {

void AddToken(TParser& parser, int kind, int id, int line, int column, std::string text) {
    parser.AddToken(TParserToken{id, kind, line, column, std::move(text)});
}

int RestOfLineLength(TParser& parser) {
    int count = 1;
    for (;;) {
        const int c = parser.NextChar();
        if (c == EndOfInputChar)
            return count;
        ++count;
        if (c == EndOfLineChar)
            return count;
    }
}

namespace {

// Continues after the opening "/*"; its '*' must not pair with a '/' right after it.
int BlockCommentLength(TParser& parser) {
    int count = 2;
    int previous = 0;
    for (int c = parser.NextChar(); c != EndOfInputChar; c = parser.NextChar()) {
        ++count;
        if (previous == '*' && c == '/')
            return count;
        previous = c;
    }
    return count;
}

} // namespace

int SlashCommentLength(TParser& parser) {
    if (parser.CurrentChar != '/')
        return 0;
    switch (parser.NextChar()) {
    case '*':
        return BlockCommentLength(parser);
    case '/':
        return 1 + RestOfLineLength(parser);
    default:
        return 0;
    }
}

} // namespace corvid
