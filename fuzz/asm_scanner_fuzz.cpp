// The assembly scanner against the recogniser chain it stands in for: on any source, in both
// modes, the two must give the same tokens. Input: the source text, split into lines at LF.
#include "../tests/parsing/asm_scanner_equivalence.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace corvid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines(1);
    for (size_t index = 0; index < size; ++index) {
        if (data[index] == '\n')
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[index]);
    }
    for (const bool compatible : {false, true})
        if (testing::ScanWithChain(lines, compatible) != testing::ScanWithScanner(lines, compatible))
            std::abort();
    return 0;
}
