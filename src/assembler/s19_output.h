#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvid {

class TKStream;

// The bytes of an assembly as Motorola S1 records of at most 32 data bytes, in the order they
// were emitted. A record ends at every break in the addresses.
class TS19Records {
public:
    TS19Records();

    // Stores the byte at the address; addresses are 0..$FFFF.
    void Emit(int address, uint8_t byte);

    // Every non-empty record as an S1 line ending in CR LF, then "S9030000FC" without a line
    // end. No S0 header: monitors load the file as it is.
    void WriteTo(TKStream& stream) const;
    std::string Text() const;

private:
    struct Record {
        int Address = 0;
        int Count = 0;
        uint8_t Bytes[32] = {};
    };
    std::vector<Record> Records;
    bool HasEmitted = false;
    int NextAddress = 0;

    void StartRecord(int address);
};

} // namespace corvid
