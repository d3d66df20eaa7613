#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

// Motorola S-record reading for the simulator. Files are untrusted: every malformed record is
// rejected with its line number and the reason, and every good record is kept, so a file with
// one bad line still loads the rest.

struct S19Block {
    uint16_t Address = 0;
    std::vector<uint8_t> Bytes;
};

struct S19Error {
    int Line = 0; // 1-based; 0 for the file as a whole
    std::string Record;
    std::string Reason;

    // "Line 3: checksum is 5B, expected 5A (S1130000...)"
    std::string Message() const;
};

struct S19Image {
    std::vector<S19Block> Blocks; // in file order
    std::vector<S19Error> Errors;
    std::optional<uint32_t> StartAddress; // from an S7, S8 or S9 record
};

S19Image ParseS19(std::string_view text);

// A file that cannot be read, or is larger than any 64 KB image could be, is one error.
S19Image ReadS19File(const std::string& fileName);

} // namespace corvid
