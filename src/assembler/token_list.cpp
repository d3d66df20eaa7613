#include "assembler/token_list.h"

#include "foundation/errors.h"

#include <limits>
#include <stdexcept>

namespace corvid {

void TAsmTokenList::Add(TParserToken&& token) {
    if (Texts.size() + token.Text.size() > std::numeric_limits<uint32_t>::max())
        throw std::length_error("Source too large");
    Tokens.push_back(TAsmToken{token.Id, token.Kind, token.Line, token.Column,
                               static_cast<uint32_t>(Texts.size()),
                               static_cast<uint32_t>(token.Text.size())});
    Texts += token.Text;
}

} // namespace corvid
