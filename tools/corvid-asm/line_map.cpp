#include "line_map.h"

#include <cstdio>

namespace corvid {

std::string LineMapEntry(int sourceLine, std::string_view listingText) {
    constexpr std::string_view AddressMark = "Addr:";
    constexpr std::string_view CodeMark = " Op:";
    if (sourceLine < 1 || listingText.substr(0, AddressMark.size()) != AddressMark)
        return {};
    const size_t code = listingText.find(CodeMark);
    if (code == std::string_view::npos)
        return {};
    const std::string_view address =
        listingText.substr(AddressMark.size(), code - AddressMark.size());
    std::string_view bytes = listingText.substr(code + CodeMark.size());
    while (!bytes.empty() && bytes.front() == ' ')
        bytes.remove_prefix(1);
    if (bytes.empty())
        return {};
    char number[16];
    std::snprintf(number, sizeof number, "%04d", sourceLine % 10000);
    return std::string(number) + " " + std::string(address) + "  " + std::string(bytes);
}

} // namespace corvid
