#include "parsing/c_tokens.h"

#include "parsing/scanning.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace corvid {

namespace {

bool IsNameStart(int c) {
    return c == '_' || IsAsciiLetter(c);
}
bool IsNameChar(int c) {
    return IsNameStart(c) || IsDigit(c);
}

void AddWords(TObjectList<TParserReservedWord>& words, int kind,
              std::initializer_list<std::pair<const char*, int>> table) {
    for (const auto& [name, id] : table)
        words.Add(new TParserReservedWord(name, kind, id));
}

// Reads a C number starting at the current character; empty when there is none.
class TCNumberReader {
public:
    explicit TCNumberReader(TParser& parser) : Parser(parser) {}

    std::string Read() {
        if (!ReadStart())
            return {};
        while (ReadMore()) {
        }
        return std::move(Text);
    }

    bool IsFractional() const { return Fractional; }

private:
    TParser& Parser;
    std::string Text;
    bool Fractional = false;
    bool Hexadecimal = false;

    bool ReadStart() {
        const int c = Parser.CurrentChar;
        if (IsDigit(c)) {
            Take(c);
            return true;
        }
        if (c != '.')
            return false;
        return TakePair('.', IsDigit, Fractional);
    }

    // Appends a marker and the character after it when that character qualifies, and sets the
    // flag; the current character is the marker. A marker without it ends the number.
    template <typename Qualifies>
    bool TakePair(char marker, Qualifies qualifies, bool& flag) {
        const int next = Parser.NextChar();
        if (!qualifies(next))
            return false;
        Text += marker;
        Take(next);
        flag = true;
        return true;
    }

    void Take(int c) {
        Text += CharOf(c);
        Parser.NextChar();
    }

    bool ReadMore() {
        const int c = Parser.CurrentChar;
        if (IsDigit(c) || (Hexadecimal && IsHexLetter(c))) {
            Take(c);
            return true;
        }
        if ((c == 'x' || c == 'X') && Text.size() == 1 && !Fractional)
            return TakePair('x', IsHexDigit, Hexadecimal);
        if (c == '.' && !Fractional && !Hexadecimal)
            return TakePair('.', IsDigit, Fractional);
        return false;
    }
};

} // namespace

int TIdentifierReservedParserObject::Match(TParser& parser) {
    if (!IsNameStart(parser.CurrentChar))
        return 0;
    const int line = parser.Line;
    const int column = parser.Column;
    std::string text;
    for (int c = parser.CurrentChar; IsNameChar(c); c = parser.NextChar())
        text += CharOf(c);
    int kind = tkIdentifier;
    int id = 0;
    for (const TParserReservedWord* word : Words) {
        if (word->Name == text) {
            kind = word->Kind;
            id = word->Id;
            break;
        }
    }
    const int length = static_cast<int>(text.size());
    AddToken(parser, kind, id, line, column, std::move(text));
    return length;
}

TCIdentifierReservedParserObject::TCIdentifierReservedParserObject() {
    AddWords(Words, tkReserved, {{"class", 0}, {"define", 1}, {"typedef", 2}});
}

TCSymbolParserObject::TCSymbolParserObject() {
    AddWords(Words, tkSymbol,
             {{"::", 7},
              {"{", 0},
              {"}", 1},
              {"(", 2},
              {")", 3},
              {"[", 4},
              {"]", 5},
              {"#", 6},
              {";", 8}});
}

int TCSymbolParserObject::Match(TParser& parser) {
    const int line = parser.Line;
    const int column = parser.Column - 1;
    const int first = parser.CurrentChar;
    const int second = parser.NextChar();
    for (const TParserReservedWord* word : Words) {
        const std::string& name = word->Name;
        if (static_cast<unsigned char>(name[0]) != first)
            continue;
        if (name.size() == 2 && static_cast<unsigned char>(name[1]) != second)
            continue;
        AddToken(parser, word->Kind, word->Id, line, column, name);
        return static_cast<int>(name.size());
    }
    return 0;
}

int TCNumberParserObject::Match(TParser& parser) {
    const int line = parser.Line;
    const int column = parser.Column;
    TCNumberReader reader(parser);
    std::string text = reader.Read();
    if (text.empty())
        return 0;
    const int length = static_cast<int>(text.size());
    AddToken(parser, tkNumber, reader.IsFractional() ? 1 : 0, line, column, std::move(text));
    return length;
}

int TCStringParserObject::Match(TParser& parser) {
    if (parser.CurrentChar != '"')
        return 0;
    const int line = parser.Line;
    const int column = parser.Column;
    std::string text;
    int count = 1;
    for (int c = parser.NextChar(); c != EndOfInputChar; c = parser.NextChar()) {
        ++count;
        if (c == '"')
            break;
        text += CharOf(c);
        if (c != '\\')
            continue;
        c = parser.NextChar();
        if (c == EndOfInputChar)
            break;
        ++count;
        text += CharOf(c);
    }
    AddToken(parser, tkString, 0, line, column, std::move(text));
    return count;
}

int TCCommentParserObject::Match(TParser& parser) {
    return SlashCommentLength(parser);
}

} // namespace corvid
