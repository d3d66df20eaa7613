#pragma once

#include "parsing/string_parser.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

// A token as a comparable value.
struct TokenValue {
    int Kind;
    int Id;
    int Line;
    int Column;
    std::string Text;

    bool operator==(const TokenValue&) const = default;
};

inline void PrintTo(const TokenValue& token, std::ostream* out) {
    *out << "{kind " << token.Kind << ", id " << token.Id << ", " << token.Line << ":"
         << token.Column << ", \"" << token.Text << "\"}";
}

// Runs the parser over the text and returns the tokens it produced.
inline std::vector<TokenValue> ScanTokens(TStringParser& parser, std::string_view text) {
    TObjectList<TParserToken> list;
    parser.Scan(text, list);
    std::vector<TokenValue> tokens;
    for (const TParserToken* token : list)
        tokens.push_back({token->Kind, token->Id, token->Line, token->Column, token->Text});
    return tokens;
}

} // namespace corvid
