#pragma once

#include <string>
#include <string_view>

namespace corvid {

// Case-insensitive comparisons fold ASCII letters to upper case, so that '_' and the
// characters between 'Z' and 'a' sort after the letters exactly as every stored word table,
// symbol list and search of Corvid expects. strcasecmp folds to lower case and would not.
constexpr char UpCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperCase(std::string_view text);
// ASCII letters to lower case, for display; comparisons fold to upper case.
std::string LowerCase(std::string_view text);

// Negative, zero or positive like strcmp, comparing upper-cased bytes as unsigned values.
int CompareText(std::string_view a, std::string_view b);

inline bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

// Hash and equality for maps keyed by names that compare case-insensitively.
struct TCaseInsensitiveHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const;
};

struct TCaseInsensitiveEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }
};

} // namespace corvid
