#include "assembler/token_stream.h"

#include "editor/text_editor_file.h"
#include "foundation/errors.h"

namespace corvid {

TAsmTokenStream::TAsmTokenStream(const TTextEditorFile& source, bool compatibilityMode)
    : Source(source),
      Scanner(
          source.LineCount(), [&source](int index) { return source.LineText(index); },
          compatibilityMode) {}

void TAsmTokenStream::Restart() {
    Scanner.Restart();
    Produced = 0;
    AtEnd = false;
}

bool TAsmTokenStream::ScanOne() {
    TAsmScannedToken token;
    if (!Scanner.Next(token)) {
        AtEnd = true;
        return false;
    }
    Window[Produced % LookBack] =
        TAsmToken{static_cast<int16_t>(token.Id), static_cast<int16_t>(token.Kind), token.Line,
                  token.Column, token.Length};
    ++Produced;
    return true;
}

const TAsmToken* TAsmTokenStream::ScanUpTo(int index) {
    while (index >= Produced && !AtEnd && ScanOne()) {
    }
    if (index >= Produced)
        return nullptr;
    CORVID_ASSERT(index >= 0 && index > Produced - 1 - LookBack,
                  "TAsmTokenStream.At Position Out Of Reach");
    return &Window[index % LookBack];
}

bool TAsmTokenStream::Empty() { return At(0) == nullptr; }

std::string_view TAsmTokenStream::Text(const TAsmToken& token) const {
    if (token.Line < 1 || token.Line > Source.LineCount())
        return {};
    const std::string_view line = Source.LineText(token.Line - 1);
    const size_t start = static_cast<size_t>(token.Column) - 1;
    if (token.Column < 1 || start > line.size())
        return {};
    return line.substr(start, static_cast<size_t>(token.Length));
}

} // namespace corvid
