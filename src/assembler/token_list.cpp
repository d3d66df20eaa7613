#include "assembler/token_list.h"

#include "editor/text_editor_file.h"

namespace corvid {

void TAsmTokenList::Add(const TAsmScannedToken& token) {
    const TAsmToken stored{static_cast<int16_t>(token.Id), static_cast<int16_t>(token.Kind),
                           token.Line, token.Column, token.Length};
    if ((Size & BlockMask) == 0)
        Blocks.push_back(std::make_unique<TAsmToken[]>(BlockMask + 1));
    Blocks.back()[Size & BlockMask] = stored;
    ++Size;
}

std::string_view TAsmTokenList::Text(const TAsmToken& token) const {
    if (token.Line < 1 || token.Line > Source.LineCount())
        return {};
    const std::string_view line = Source.LineText(token.Line - 1);
    const size_t start = static_cast<size_t>(token.Column) - 1;
    if (token.Column < 1 || start > line.size())
        return {};
    return line.substr(start, static_cast<size_t>(token.Length));
}

} // namespace corvid
