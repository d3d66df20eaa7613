// Extraction patterns over hostile text. Input: byte 0 gives the pattern length (mod 65), then
// the pattern, then the text.
//
// The program's patterns are its own constants and only the texts come from outside. An
// arbitrary pattern can still make loops multiply copies of the text (255 repeats per count
// byte), so the fuzzed pattern runs on the first 256 bytes of the text only; the native word
// splitter and file name cut, which run on whole untrusted lines, are checked on the full text
// against the patterns they replace.
#include "foundation/extract_pattern.h"
#include "foundation/file_names.h"
#include "foundation/text_fields.h"

#include "../tests/foundation/text_reference.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace corvid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t patternLength = std::min<size_t>(data[0] % 65, size - 1);
    const std::string_view pattern(reinterpret_cast<const char*>(data + 1), patternLength);
    const std::string_view text(reinterpret_cast<const char*>(data + 1 + patternLength),
                                size - 1 - patternLength);
    (void)ExtractPattern(text.substr(0, 256), pattern);

    const int n = data[0] + 1;
    // A bracket as separator would upset the pattern's own bracket matching; the native form
    // has no brackets to upset.
    const char first = pattern.empty() ? ' ' : pattern.front();
    const char separator = first == '[' || first == ']' ? ' ' : first;
    if (GetParam(text, n) != ExtractPattern(text, reference::GetParamPattern(n)))
        __builtin_trap();
    if (GetParamSep(text, n, separator) !=
        ExtractPattern(text, reference::GetParamSepPattern(n, separator)))
        __builtin_trap();
    if (FileNameNoExt(text) != ExtractPattern(FileNameOnly(text), reference::FileNameNoExtPattern))
        __builtin_trap();
    return 0;
}
