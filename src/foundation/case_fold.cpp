#include "foundation/case_fold.h"

#include <algorithm>
#include <cstdint>

namespace corvid {

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = UpCase(c);
    return result;
}

std::string LowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

int CompareText(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(UpCase(a[i]));
        const auto cb = static_cast<unsigned char>(UpCase(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

size_t TCaseInsensitiveHash::operator()(std::string_view text) const {
    // FNV-1a over the upper-cased bytes.
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(UpCase(c));
        hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

} // namespace corvid
