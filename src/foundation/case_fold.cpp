#include "foundation/case_fold.h"

#include <algorithm>

namespace corvid {

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = UpCase(c);
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

} // namespace corvid
