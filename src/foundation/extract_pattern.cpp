#include "foundation/extract_pattern.h"

#include <algorithm>

namespace corvid {
namespace {

constexpr size_t Stop = std::string_view::npos;

// One run of a pattern. Positions in the text are 1-based and stay within 1..length (1 for an
// empty text, where every copy appends nothing anyway); pattern indexes are 0-based.
class PatternRun {
public:
    PatternRun(std::string_view text, std::string_view pattern)
        : Text(text), Pattern(pattern), Length(text.size()) {}

    std::string Run() {
        for (size_t i = 0; i < Pattern.size();)
            i = Step(i);
        return Result;
    }

private:
    bool At(size_t i, std::string_view command) const {
        return Pattern.compare(i, command.size(), command) == 0;
    }
    bool HasOperand(size_t i, size_t commandLength) const {
        return i + commandLength < Pattern.size();
    }
    size_t Step(size_t i);
    size_t Go(size_t i);
    size_t Mark(size_t i);
    size_t Copy(size_t i);
    size_t Find(size_t i, bool backward, bool wantEqual);
    size_t Conditional(size_t i, bool condition) const;
    size_t Loop(size_t i);
    size_t AppendQuoted(size_t i);
    void AppendRange(size_t from, size_t count) {
        if (from >= 1 && from <= Length)
            Result.append(Text.substr(from - 1, count));
    }
    void ClampPosition(size_t position) {
        Position = std::max<size_t>(1, std::min(position, Length));
    }

    std::string_view Text;
    std::string Pattern; // private copy: loop counts are decremented in it
    size_t Length;
    size_t Position = 1;
    size_t MarkStart = 1;
    size_t MarkEnd = 1;
    bool Found = true;
    std::string Result;
};

// Runs the command at pattern index i and returns the index to continue at; Stop (beyond any
// index) ends the run.
size_t PatternRun::Step(size_t i) {
    switch (Pattern[i]) {
    case 'g':
        return Go(i);
    case '+':
        if (Position < Length)
            ++Position;
        return i + 1;
    case '-':
        if (Position > 1)
            --Position;
        return i + 1;
    case 'f':
        if ((At(i, "ffc") || At(i, "ffn") || At(i, "fbc") || At(i, "fbn")) && HasOperand(i, 3))
            return Find(i, Pattern[i + 1] == 'b', Pattern[i + 2] == 'c');
        return i + 1;
    case 'm':
        return Mark(i);
    case 'c':
        return Copy(i);
    case 'r':
        if (At(i, "rt["))
            return Conditional(i + 3, Found);
        if (At(i, "rf["))
            return Conditional(i + 3, !Found);
        if (At(i, "rn["))
            return Conditional(i + 3, Result.empty());
        return i + 1;
    case ']':
        return At(i, "]l") && HasOperand(i, 2) ? Loop(i) : i + 1;
    case 'q':
        return Stop;
    default:
        return i + 1;
    }
}

size_t PatternRun::Go(size_t i) {
    if (At(i, "gs"))
        Position = 1;
    else if (At(i, "ge"))
        ClampPosition(Length);
    else
        return i + 1;
    return i + 2;
}

size_t PatternRun::Mark(size_t i) {
    if (At(i, "ms"))
        MarkStart = Position;
    else if (At(i, "me"))
        MarkEnd = Position;
    else
        return i + 1;
    return i + 2;
}

size_t PatternRun::Copy(size_t i) {
    if (At(i, "ca\""))
        return AppendQuoted(i + 3);
    if (At(i, "cm")) {
        if (MarkStart <= MarkEnd)
            AppendRange(MarkStart, MarkEnd - MarkStart + 1);
    } else if (At(i, "ce")) {
        if (MarkStart <= Length)
            AppendRange(Position, Length - MarkStart + 1);
    } else if (At(i, "cp")) {
        AppendRange(Position, 1);
    } else {
        return i + 1;
    }
    return i + 2;
}

size_t PatternRun::Find(size_t i, bool backward, bool wantEqual) {
    const char operand = Pattern[i + 3];
    const size_t from = Position - 1;
    size_t found = Stop;
    if (backward)
        found = wantEqual ? Text.rfind(operand, from) : Text.find_last_not_of(operand, from);
    else
        found = wantEqual ? Text.find(operand, from) : Text.find_first_not_of(operand, from);
    Found = found != Stop;
    if (Found)
        ClampPosition(found + 1);
    else
        ClampPosition(backward ? 1 : Length);
    return i + 4;
}

// `body` is the index right after the block's `[`.
size_t PatternRun::Conditional(size_t body, bool condition) const {
    if (condition)
        return body;
    int depth = 1;
    for (size_t i = body; i < Pattern.size(); ++i) {
        if (Pattern[i] == '[')
            ++depth;
        else if (Pattern[i] == ']' && --depth == 0)
            return i + 1;
    }
    return Stop;
}

// `i` is the index of the `]` of `]l` followed by its count byte.
size_t PatternRun::Loop(size_t i) {
    auto& count = reinterpret_cast<unsigned char&>(Pattern[i + 2]);
    if (count == 0)
        return i + 3;
    --count;
    int depth = 1;
    for (size_t k = i; k-- > 0;) {
        if (Pattern[k] == ']')
            ++depth;
        else if (Pattern[k] == '[' && --depth == 0)
            return k + 1;
    }
    return 0;
}

// `i` is the index right after the opening quote.
size_t PatternRun::AppendQuoted(size_t i) {
    const size_t close = Pattern.find('"', i);
    Result.append(Pattern, i, close == Stop ? Stop : close - i);
    return close == Stop ? Stop : close + 1;
}

} // namespace

std::string ExtractPattern(std::string_view text, std::string_view pattern) {
    return PatternRun(text, pattern).Run();
}

} // namespace corvid
