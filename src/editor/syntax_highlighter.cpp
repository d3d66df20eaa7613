#include "editor/syntax_highlighter.h"

#include "editor/colour_cells.h"
#include "editor/language_info.h"
#include "editor/text_editor.h"
#include "editor/text_editor_file.h"

#include <algorithm>
#include <string_view>

namespace corvid {

void TTextEditorSyntaxHighlighter::ColorLine(int, const TTextEditor&, TColourRow&) const {}
void TTextEditorSyntaxHighlighter::RescanAll(TTextEditorFile&) {}
void TTextEditorSyntaxHighlighter::LineChanged(int, TTextEditorFile&) {}
void TTextEditorSyntaxHighlighter::LineDeleted(int, TTextEditorFile&) {}
void TTextEditorSyntaxHighlighter::LineInserted(int, TTextEditorFile&) {}

namespace {

bool StartsAt(std::string_view text, size_t position, std::string_view what) {
    return !what.empty() && text.size() - position >= what.size() &&
           text.compare(position, what.size(), what) == 0;
}

// The comment conventions of a language, with a quick test for the characters that can start
// any of them: most characters of a line start none.
class TCommentRules {
public:
    explicit TCommentRules(const TTextEditorMultiFileInfo& language) : Language(language) {
        for (const std::string& start : language.LineCommentStart)
            AddFirst(start);
        for (const std::string& start : language.BlockCommentStart)
            AddFirst(start);
        for (const std::string& end : language.BlockCommentEnd)
            AddFirst(end);
    }

    bool MayStartAt(std::string_view text, size_t position) const {
        return First.Contains(text[position]);
    }

    bool LineCommentAt(std::string_view text, size_t position) const {
        for (size_t index = 0; index < Language.LineCommentStart.size(); ++index) {
            const int column = Language.LineCommentColumn[index];
            if (StartsAt(text, position, Language.LineCommentStart[index]) &&
                (column == 0 || static_cast<size_t>(column) == position + 1))
                return true;
        }
        return false;
    }

    // The length of the block-comment start (or end) at the position; 0 when none is there.
    size_t BlockStartAt(std::string_view text, size_t position) const {
        return AnyAt(text, position, Language.BlockCommentStart);
    }
    size_t BlockEndAt(std::string_view text, size_t position) const {
        return AnyAt(text, position, Language.BlockCommentEnd);
    }

    // Whether a scan of the line that starts inside or outside a block comment ends inside.
    bool EndsInside(std::string_view text, bool inside) const {
        size_t position = 0;
        while (position < text.size()) {
            if (!MayStartAt(text, position)) {
                ++position;
                continue;
            }
            if (!inside && LineCommentAt(text, position))
                return false;
            const size_t length =
                inside ? BlockEndAt(text, position) : BlockStartAt(text, position);
            if (length > 0) {
                inside = !inside;
                position += length;
            } else {
                ++position;
            }
        }
        return inside;
    }

private:
    const TTextEditorMultiFileInfo& Language;
    TCharSet First;

    void AddFirst(const std::string& text) {
        if (!text.empty())
            First.Add(text[0]);
    }

    static size_t AnyAt(std::string_view text, size_t position,
                        const std::array<std::string, 2>& candidates) {
        for (const std::string& candidate : candidates) {
            if (StartsAt(text, position, candidate))
                return candidate.size();
        }
        return 0;
    }
};

void ComputeOpensAndCloses(TTextEditorLine& line, const TCommentRules& rules) {
    const std::string_view text = line.Text.View();
    line.Clear(lfOpensBlockComment);
    line.Clear(lfClosesBlockComment);
    if (rules.EndsInside(text, false))
        line.Set(lfOpensBlockComment);
    if (!rules.EndsInside(text, true))
        line.Set(lfClosesBlockComment);
}

enum class TState { Normal, Identifier, Number, String, Comment, PrefixStart, PrefixDigits };

// Colours one line from column 0 to the end of its visible part.
class TLineColourer {
public:
    TLineColourer(const TTextEditorMultiFileInfo& language, std::string_view text, TColourRow& row)
        : Language(language), Rules(language), Text(text), Row(row),
          End(std::min(text.size(), static_cast<size_t>(std::max(row.EndColumn(), 0)))) {}

    void Run(bool startsInComment) {
        State = startsInComment ? TState::Comment : TState::Normal;
        while (Position < End) {
            switch (State) {
            case TState::Normal:
                Normal();
                break;
            case TState::Identifier:
                Continue(Language.WordCharacters, ccIdentifier);
                break;
            case TState::Number:
                Continue(Language.NumberCharacters, ccNumber);
                break;
            case TState::String:
                String();
                break;
            case TState::Comment:
                Comment();
                break;
            case TState::PrefixStart:
                PrefixStart();
                break;
            case TState::PrefixDigits:
                Continue(Language.NumberCharacters, ccString);
                break;
            }
        }
    }

private:
    const TTextEditorMultiFileInfo& Language;
    TCommentRules Rules;
    std::string_view Text;
    TColourRow& Row;
    size_t End;
    size_t Position = 0;
    TState State = TState::Normal;

    char Current() const { return Text[Position]; }

    void Span(size_t length, TColourPair colours) {
        const int from = static_cast<int>(Position);
        Row.ColorSpan(from, from + static_cast<int>(length) - 1, colours, 0);
        Position += length;
    }
    void Span(size_t length, TColourClass colourClass) {
        Span(length, Language.Colors[colourClass]);
    }
    void Enter(TState state, TColourClass colourClass) {
        Span(1, colourClass);
        State = state;
    }

    const TTextEditorReservedWord* ReservedWordHere() const {
        const TTextEditorReservedWord* word = Language.ReservedWords.Match(
            Text, Position, Language.WordCharacters, Language.CaseSensitive);
        if (!word && Language.ExtraWords)
            word = Language.ExtraWords->Match(Text, Position, Language.WordCharacters,
                                              Language.CaseSensitive);
        return word;
    }

    void Normal() {
        if (const TTextEditorReservedWord* word = ReservedWordHere()) {
            Span(word->Text.size(), word->Colours);
            return;
        }
        const char c = Current();
        if (Language.IdentifierStarts.Contains(c))
            return Enter(TState::Identifier, ccIdentifier);
        if (Language.Digits.Contains(c))
            return Enter(TState::Number, ccNumber);
        if (Language.StringQuote != 0 && c == Language.StringQuote)
            return Enter(TState::String, ccString);
        if (Language.ConstantPrefix != 0 && c == Language.ConstantPrefix)
            return Enter(TState::PrefixStart, ccString);
        if (Rules.LineCommentAt(Text, Position))
            return Span(End - Position, ccLineComment);
        if (const size_t length = Rules.BlockStartAt(Text, Position)) {
            Span(length, ccBlockComment);
            State = TState::Comment;
            return;
        }
        Span(1, ccOther);
    }

    // A character of the set continues the token; any other ends it without being consumed.
    void Continue(const TCharSet& members, TColourClass colourClass) {
        if (members.Contains(Current()))
            Span(1, colourClass);
        else
            State = TState::Normal;
    }

    void String() {
        if (StartsAt(Text, Position, Language.InStringSequence))
            return Span(std::min(Language.InStringSequence.size(), End - Position), ccString);
        const char c = Current();
        if (Language.StringEscape != 0 && c == Language.StringEscape)
            return Span(std::min<size_t>(2, End - Position), ccString);
        Span(1, ccString);
        if (c == Language.StringQuote)
            State = TState::Normal;
    }

    // Whichever end closes the comment, the colour covers as many characters as the first end
    // string has: stored colourings were always made so.
    void Comment() {
        if (Rules.BlockEndAt(Text, Position) > 0) {
            Span(std::min(Language.BlockCommentEnd[0].size(), End - Position), ccBlockComment);
            State = TState::Normal;
            return;
        }
        Span(1, ccBlockComment);
    }

    void PrefixStart() {
        if (!Language.Digits.Contains(Current())) {
            State = TState::Normal;
            return;
        }
        Enter(TState::PrefixDigits, ccString);
    }
};

// Whether a block comment is open after the line, from its own flags.
bool EndsInComment(const TTextEditorLine& line) {
    return line.Has(lfInBlockComment) ? !line.Has(lfClosesBlockComment)
                                      : line.Has(lfOpensBlockComment);
}

// The line's text changed: its own flags are worked out again, then the lines after it get
// the comment state that reaches them, for as long as that changes what they hand on. A line
// that both opens (from outside) and closes (from inside) hands on the opposite state once
// its start changes, so the walk goes on through it rather than stopping there.
void Propagate(TTextEditorLineList& lines, int line, const TCommentRules& rules) {
    TTextEditorLine& changed = lines.Get(line);
    ComputeOpensAndCloses(changed, rules);
    bool open = EndsInComment(changed);
    for (int next = line + 1; next < lines.Count(); ++next) {
        TTextEditorLine& following = lines.Get(next);
        if (following.Has(lfInBlockComment) == open)
            return;
        const bool handedOn = EndsInComment(following);
        if (open)
            following.Set(lfInBlockComment);
        else
            following.Clear(lfInBlockComment);
        following.Set(lfInvalid);
        if (EndsInComment(following) == handedOn)
            return;
        open = !handedOn;
    }
}

} // namespace

void TGoodSyntaxHighlighter::ColorLine(int line, const TTextEditor& editor, TColourRow& row) const {
    const TTextEditorFile& file = editor.File();
    if (line < 0 || line >= file.LineCount())
        return;
    const TTextEditorLine& text = file.Lines.Get(line);
    TLineColourer(file.ActiveLanguage(), text.Text.View(), row).Run(text.Has(lfInBlockComment));
}

void TGoodSyntaxHighlighter::RescanAll(TTextEditorFile& file) {
    const TCommentRules rules(file.ActiveLanguage());
    bool open = false;
    for (int index = 0; index < file.LineCount(); ++index) {
        TTextEditorLine& line = file.Lines.Get(index);
        line.Flags &= static_cast<uint8_t>(~lfBlockCommentMask);
        ComputeOpensAndCloses(line, rules);
        if (open)
            line.Set(lfInBlockComment);
        open = open ? !line.Has(lfClosesBlockComment) : line.Has(lfOpensBlockComment);
    }
}

void TGoodSyntaxHighlighter::LineChanged(int line, TTextEditorFile& file) {
    if (line < 0 || line >= file.LineCount())
        return;
    Propagate(file.Lines, line, TCommentRules(file.ActiveLanguage()));
}

void TGoodSyntaxHighlighter::LineDeleted(int line, TTextEditorFile& file) {
    LineChanged(line, file);
    LineChanged(line + 1, file);
}

void TGoodSyntaxHighlighter::LineInserted(int line, TTextEditorFile& file) {
    // The new line's own opening and closing are known before the state reaches it, so the
    // propagation through it stops where it should.
    if (line >= 0 && line + 1 < file.LineCount())
        ComputeOpensAndCloses(file.Lines.Get(line + 1), TCommentRules(file.ActiveLanguage()));
    LineChanged(line, file);
    LineChanged(line + 1, file);
}

} // namespace corvid
