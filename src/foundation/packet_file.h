#pragma once

#include "foundation/object_list.h"
#include "foundation/stacks.h"
#include "foundation/streams.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace corvid {

// A packet on disk: name length N (four bytes), the name, payload size S (four bytes) and S
// payload bytes, which may hold further packets. A packet occupies N + S + 8 bytes.
class TPacket {
public:
    std::string Name;
    int64_t PayloadSize = 0; // 0 while being written
    int64_t StartOffset = 0; // position of the name length field

    int64_t EndOffset() const {
        return StartOffset + static_cast<int64_t>(Name.size()) + PayloadSize + 8;
    }
};

// Writes nested packets through the typed helpers of TKStream onto another stream (not owned),
// which must be able to seek back to fill in the sizes.
//
// A writer is done when Finish succeeds: it raises "TPacketWriter.Destroy Packets Still Open"
// when a packet was left open. The destructor never raises; it simply drops open packets.
class TPacketWriter : public TKWriter {
public:
    explicit TPacketWriter(TKStream& stream) : TKWriter(stream) {}
    virtual const char* ClassName() const { return "TPacketWriter"; }

    void OpenPacket(std::string_view name);
    // Raises "TPacketWriter.ClosePacket No Packets Open" when none is open.
    void ClosePacket();
    void Finish();

    int OpenCount() const { return OpenPackets.Count(); }

private:
    TObjectStack<TPacket> OpenPackets;
};

// Reads packets from another stream (not owned). Every header read stays alive in AllPackets
// as long as the reader, so the TPacket pointers it hands out remain valid.
//
// The reader treats its input as hostile: a header whose name length or payload size is
// negative or runs past the innermost open packet (or past the end of the stream) raises
// "TPacketReader.ReadPacket Invalid Packet", so every packet ends after its start and a
// reading loop always moves forward. Reads never cross the end of the innermost open packet:
// a field that an older, shorter packet lacks reads as 0 instead of as the next packet's bytes.
class TPacketReader : public TKReader {
public:
    explicit TPacketReader(TKStream& stream);
    ~TPacketReader() override;
    virtual const char* ClassName() const { return "TPacketReader"; }

    size_t Read(void* buffer, size_t count) override;

    // The header at the current position, or none when the innermost open packet (or the
    // stream) has no bytes left for one; it also becomes Current.
    TPacket* ReadPacket();
    // Reading continues with Current's payload; entering none is allowed and makes InPacket
    // false and LeavePacket raise.
    void EnterPacket();
    // Positions right after the innermost open packet, however much of it was read.
    void LeavePacket();
    // Raises "TPacketReader.SkipPacket nil Packet" for none.
    void SkipPacket(const TPacket* packet);
    bool InPacket();
    // Bytes left before the end of the innermost open packet, or of the stream; what a count
    // or length read from the packet may at most claim.
    int64_t BytesLeft();

    int32_t PeekInteger();
    std::string PeekString();

    TPacket* Current = nullptr;

private:
    TObjectStack<TPacket> OpenPackets; // refers to packets owned by AllPackets
    TObjectList<TPacket> AllPackets;

    int64_t Limit();
    [[noreturn]] void Fail(const char* what) const;
};

} // namespace corvid
