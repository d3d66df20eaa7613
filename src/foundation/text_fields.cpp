#include "foundation/text_fields.h"

#include "foundation/case_fold.h"

#include <algorithm>

namespace corvid {

std::string GetParam(std::string_view text, int n) {
    return GetParamSep(text, n, ' ');
}

// Walks the words exactly as the extraction pattern
//   "[rf[q]ffn" sep "msffc" sep "]l" byte(n-1) "rt[-]mecm"
// does, one round per word, with positions 1-based as there. The pattern's one-byte loop count
// would wrap at 256; here n is a full integer. A round that leaves the state as it found it
// (trailing separators) would repeat forever unchanged, so the walk stops there.
std::string GetParamSep(std::string_view text, int n, char separator) {
    if (n < 1 || text.empty())
        return {};
    const size_t length = text.size();
    auto positionOf = [](size_t index, size_t ifNone) {
        return index == std::string_view::npos ? ifNone : index + 1;
    };
    size_t position = 1;
    size_t wordStart = 1;
    bool found = true;
    for (int round = 0; round < n; ++round) {
        if (!found)
            return {};
        const size_t before = position;
        wordStart = positionOf(text.find_first_not_of(separator, position - 1), length);
        const size_t next = text.find(separator, wordStart - 1);
        found = next != std::string_view::npos;
        position = positionOf(next, length);
        if (found && position == before)
            break;
    }
    const size_t wordEnd = found && position > 1 ? position - 1 : position;
    if (wordStart > wordEnd)
        return {};
    return std::string(text.substr(wordStart - 1, wordEnd - wordStart + 1));
}

std::string PadRight(std::string_view text, int width) {
    if (width <= 0)
        return {};
    std::string result(text.substr(0, static_cast<size_t>(width)));
    result.resize(static_cast<size_t>(width), ' ');
    return result;
}

std::string PadLeft(std::string_view text, int width) {
    if (width <= 0)
        return {};
    const auto w = static_cast<size_t>(width);
    if (text.size() >= w)
        return std::string(text.substr(text.size() - w));
    return std::string(w - text.size(), ' ') + std::string(text);
}

std::string ExpandTabs(std::string_view text, int spaces) {
    const std::string blanks(static_cast<size_t>(std::max(spaces, 0)), ' ');
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c == '\t')
            result += blanks;
        else
            result += c;
    }
    return result;
}

void TruncateAtNul(std::string& text) {
    const size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
}

void DeleteCharAt(int index, std::string& text) {
    if (index >= 1 && static_cast<size_t>(index) <= text.size())
        text.erase(static_cast<size_t>(index - 1), 1);
}

bool CharInString(char c, std::string_view text) {
    return text.find(c) != std::string_view::npos;
}

bool StartsWithText(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    return SameText(a.substr(0, common), b.substr(0, common));
}

std::string ReverseText(std::string_view text) {
    return std::string(text.rbegin(), text.rend());
}

} // namespace corvid
