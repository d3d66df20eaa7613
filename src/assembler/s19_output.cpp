#include "assembler/s19_output.h"

#include "foundation/streams.h"

#include <array>
#include <cstring>
#include <string_view>

namespace corvid {

namespace {

constexpr std::string_view TerminatingRecord = "S9030000FC";

// The two upper-case hexadecimal digits of every byte value, so that a byte is formatted with
// one copy.
constexpr std::array<char, 512> HexPairs = [] {
    constexpr char Digits[] = "0123456789ABCDEF";
    std::array<char, 512> pairs{};
    for (size_t value = 0; value < 256; ++value) {
        pairs[2 * value] = Digits[value >> 4];
        pairs[2 * value + 1] = Digits[value & 0xF];
    }
    return pairs;
}();

char* PutHexByte(char* out, unsigned value) {
    std::memcpy(out, &HexPairs[2 * (value & 0xFF)], 2);
    return out + 2;
}

} // namespace

TS19Records::TS19Records() : Records(1) {}

void TS19Records::StartRecord(int address) {
    if (Records.back().Count > 0)
        Records.emplace_back();
    Records.back().Address = address;
}

size_t TS19Records::FormatRecord(const Record& record, char* line) {
    const unsigned count = static_cast<unsigned>(record.Count) + 3;
    const auto address = static_cast<unsigned>(record.Address);
    unsigned sum = count + (address & 0xFF) + ((address >> 8) & 0xFF);
    char* out = line;
    *out++ = 'S';
    *out++ = '1';
    out = PutHexByte(out, count);
    out = PutHexByte(out, address >> 8);
    out = PutHexByte(out, address);
    for (int index = 0; index < record.Count; ++index) {
        out = PutHexByte(out, record.Bytes[index]);
        sum += record.Bytes[index];
    }
    out = PutHexByte(out, (sum & 0xFF) ^ 0xFF);
    *out++ = '\r';
    *out++ = '\n';
    return static_cast<size_t>(out - line);
}

std::string TS19Records::Text() const {
    std::string text;
    text.reserve(Records.size() * LongestLine + TerminatingRecord.size());
    char line[LongestLine];
    for (const Record& record : Records)
        if (record.Count > 0)
            text.append(line, FormatRecord(record, line));
    text += TerminatingRecord;
    return text;
}

void TS19Records::WriteTo(TKStream& stream) const {
    char line[LongestLine];
    for (const Record& record : Records)
        if (record.Count > 0)
            stream.WriteText(std::string_view(line, FormatRecord(record, line)));
    stream.WriteText(TerminatingRecord);
}

} // namespace corvid
