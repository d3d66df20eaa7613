#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace corvid {

class TKStream;

// The bytes of an assembly as Motorola S1 records of at most 32 data bytes, in the order they
// were emitted. A record ends at every break in the addresses.
class TS19Records {
public:
    TS19Records();

    // Stores the byte at the address; addresses are 0..$FFFF. Inline: every byte of an assembly
    // comes through here.
    void Emit(int address, uint8_t byte) {
        if (!HasEmitted || address != NextAddress)
            StartRecord(address);
        Record& record = Records.back();
        record.Bytes[record.Count++] = byte;
        HasEmitted = true;
        NextAddress = address + 1;
        if (record.Count == RecordCapacity)
            StartRecord(NextAddress);
    }

    // Every non-empty record as an S1 line ending in CR LF, then "S9030000FC" without a line
    // end. No S0 header: monitors load the file as it is.
    void WriteTo(TKStream& stream) const;
    std::string Text() const;

private:
    static constexpr int RecordCapacity = 32;
    // "S1", the count, four address digits, the data, the checksum, CR LF.
    static constexpr size_t LongestLine = 2 + 2 + 4 + 2 * RecordCapacity + 2 + 2;

    struct Record {
        int Address = 0;
        int Count = 0;
        uint8_t Bytes[RecordCapacity] = {};
    };
    // A deque: records are only appended, and a large output then takes no spare capacity.
    std::deque<Record> Records;
    bool HasEmitted = false;
    int NextAddress = 0;

    // A new record at the address, unless the current one is still empty.
    void StartRecord(int address);
    // Writes the S1 line of a non-empty record; returns its length.
    static size_t FormatRecord(const Record& record, char* line);
};

} // namespace corvid
