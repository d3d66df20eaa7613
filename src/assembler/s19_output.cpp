#include "assembler/s19_output.h"

#include "foundation/number_text.h"
#include "foundation/streams.h"

namespace corvid {

namespace {

constexpr int RecordCapacity = 32;
constexpr const char* TerminatingRecord = "S9030000FC";

} // namespace

TS19Records::TS19Records() : Records(1) {}

void TS19Records::StartRecord(int address) {
    if (Records.back().Count > 0)
        Records.emplace_back();
    Records.back().Address = address;
}

void TS19Records::Emit(int address, uint8_t byte) {
    if (!HasEmitted || address != NextAddress)
        StartRecord(address);
    Record& record = Records.back();
    record.Bytes[record.Count++] = byte;
    if (record.Count == RecordCapacity) {
        Records.emplace_back();
        Records.back().Address = address + 1;
    }
    HasEmitted = true;
    NextAddress = address + 1;
}

std::string TS19Records::Text() const {
    std::string text;
    text.reserve(Records.size() * (12 + 2 * RecordCapacity) + 10);
    for (const Record& record : Records) {
        if (record.Count == 0)
            continue;
        const int count = record.Count + 3;
        int sum = count + (record.Address & 0xFF) + ((record.Address >> 8) & 0xFF);
        text += "S1";
        AppendHex(text, static_cast<uint32_t>(count), 2);
        AppendHex(text, static_cast<uint32_t>(record.Address), 4);
        for (int index = 0; index < record.Count; ++index) {
            AppendHex(text, record.Bytes[index], 2);
            sum += record.Bytes[index];
        }
        AppendHex(text, static_cast<uint32_t>((sum & 0xFF) ^ 0xFF), 2);
        text += "\r\n";
    }
    text += TerminatingRecord;
    return text;
}

void TS19Records::WriteTo(TKStream& stream) const {
    stream.WriteText(Text());
}

} // namespace corvid
