// Reads packets the way the configuration, desktop and project readers do, over hostile
// bytes: leading bytes, a peek at the first packet, then nested Enter/Read/Leave loops. Every
// failure must be an Error; a loop that does not end or a position that falls back inside a
// packet just read is a crash.
#include "foundation/errors.h"
#include "foundation/packet_file.h"
#include "foundation/streams.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using corvid::TPacket;
using corvid::TPacketReader;

// Deeper packets are skipped whole instead of walked, to bound the recursion.
constexpr int MaxWalkDepth = 100;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void ReadFields(TPacketReader& reader, const TPacket& packet) {
    reader.ReadInteger(); // version
    std::string text;
    reader.ReadString(text);
    reader.ReadBoolean();
    reader.ReadCardinal();
    if (!packet.Name.empty() && packet.Name[0] == 'K') {
        // A counted list, as the key table stores it: the count is checked against the data.
        const int32_t count = reader.ReadInteger();
        if (count < 0 || count > reader.BytesLeft())
            throw corvid::Error("Invalid count");
        for (int32_t i = 0; i < count && reader.InPacket(); ++i)
            reader.ReadString(text);
    }
}

void Walk(TPacketReader& reader, int depth) {
    while (reader.InPacket()) {
        const int64_t start = reader.Position();
        TPacket* packet = reader.ReadPacket();
        reader.EnterPacket();
        if (packet && depth < MaxWalkDepth) {
            Check(packet->StartOffset == start && packet->EndOffset() > start);
            if (reader.PeekInteger() % 2 == 0)
                ReadFields(reader, *packet);
            else
                Walk(reader, depth + 1);
        }
        reader.LeavePacket();
        Check(reader.Position() > start);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    corvid::TKMemStream memory;
    memory.Write(data, size);
    memory.SetPosition(0);
    TPacketReader reader(memory);
    try {
        reader.ReadCardinal();
        reader.ReadInteger();
        reader.PeekInteger();
        reader.PeekString();
        Walk(reader, 0);
    } catch (const corvid::Error&) {
    }
    return 0;
}
