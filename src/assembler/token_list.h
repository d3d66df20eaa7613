#pragma once

#include "parsing/parser.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

// One token of an assembly, kept small: its text lives in the list's shared text block.
struct TAsmToken {
    int Id = 0;
    int Kind = tkEnd;
    int Line = 0;
    int Column = 0;
    uint32_t TextStart = 0;
    uint32_t TextLength = 0;
};

// The tokens of one source, in order. Filled by a parser scan; read by both passes.
class TAsmTokenList : public TTokenSink {
public:
    void Add(TParserToken&& token) override;

    int Count() const { return static_cast<int>(Tokens.size()); }
    bool Empty() const { return Tokens.empty(); }
    const TAsmToken& operator[](int index) const { return Tokens[static_cast<size_t>(index)]; }
    const TAsmToken& Last() const { return Tokens.back(); }
    std::string_view Text(const TAsmToken& token) const {
        return std::string_view(Texts).substr(token.TextStart, token.TextLength);
    }

private:
    std::vector<TAsmToken> Tokens;
    std::string Texts;
};

} // namespace corvid
