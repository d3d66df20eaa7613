#include "foundation/packet_file.h"

#include "foundation/errors.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace corvid {

namespace {

// Name length and payload size fields.
constexpr int64_t HeaderFieldBytes = 8;

// Every header read is kept; the list grows in large steps.
constexpr int AllPacketsDelta = 1000;

} // namespace

void TPacketWriter::OpenPacket(std::string_view name) {
    auto* packet = new TPacket{std::string(name), 0, Position()};
    OpenPackets.Push(packet);
    WriteString(name);
    WriteInteger(0);
}

void TPacketWriter::ClosePacket() {
    if (OpenPackets.IsEmpty())
        throw Error(std::string(ClassName()) + ".ClosePacket No Packets Open");
    const std::unique_ptr<TPacket> packet(OpenPackets.Pop());
    const int64_t end = Position();
    const int64_t sizeField = packet->StartOffset + static_cast<int64_t>(packet->Name.size()) + 4;
    const int64_t payloadSize = end - (sizeField + 4);
    if (payloadSize > std::numeric_limits<int32_t>::max())
        throw Error(std::string(ClassName()) + ".ClosePacket Packet Too Large");
    SetPosition(sizeField);
    WriteInteger(static_cast<int32_t>(payloadSize));
    SetPosition(end);
}

void TPacketWriter::Finish() {
    if (!OpenPackets.IsEmpty())
        throw Error(std::string(ClassName()) + ".Destroy Packets Still Open");
}

TPacketReader::TPacketReader(TKStream& stream) : TKReader(stream) {
    AllPackets.Delta = AllPacketsDelta;
}

// The open packets belong to AllPackets; a stack destroys what is left on it.
TPacketReader::~TPacketReader() {
    while (!OpenPackets.IsEmpty())
        OpenPackets.Pop();
}

void TPacketReader::Fail(const char* what) const {
    throw Error(std::string(ClassName()) + "." + what);
}

int64_t TPacketReader::Limit() {
    if (OpenPackets.IsEmpty())
        return Stream.Size();
    const TPacket* innermost = OpenPackets.Peek();
    return innermost ? innermost->EndOffset() : Position();
}

int64_t TPacketReader::BytesLeft() {
    return std::max<int64_t>(Limit() - Position(), 0);
}

size_t TPacketReader::Read(void* buffer, size_t count) {
    if (!OpenPackets.IsEmpty())
        count = static_cast<size_t>(std::min(static_cast<int64_t>(count), BytesLeft()));
    return count == 0 ? 0 : Stream.Read(buffer, count);
}

TPacket* TPacketReader::ReadPacket() {
    Current = nullptr;
    const int64_t start = Position();
    const int64_t left = Limit() - start;
    if (left <= 0)
        return nullptr;
    if (left < HeaderFieldBytes)
        Fail("ReadPacket Invalid Packet");
    const int32_t nameLength = ReadInteger();
    if (nameLength < 0 || nameLength > left - HeaderFieldBytes)
        Fail("ReadPacket Invalid Packet");
    auto packet = std::make_unique<TPacket>();
    packet->StartOffset = start;
    packet->Name.resize(static_cast<size_t>(nameLength));
    if (Read(packet->Name.data(), packet->Name.size()) != packet->Name.size())
        Fail("ReadPacket Invalid Packet");
    int32_t payloadSize;
    if (ReadInteger(payloadSize) != 4 || payloadSize < 0 ||
        payloadSize > left - HeaderFieldBytes - nameLength)
        Fail("ReadPacket Invalid Packet");
    packet->PayloadSize = payloadSize;
    Current = AllPackets.Add(packet.release());
    return Current;
}

void TPacketReader::EnterPacket() {
    OpenPackets.Push(Current);
}

void TPacketReader::LeavePacket() {
    SkipPacket(OpenPackets.Pop());
}

void TPacketReader::SkipPacket(const TPacket* packet) {
    if (!packet)
        Fail("SkipPacket nil Packet");
    SetPosition(packet->EndOffset());
}

bool TPacketReader::InPacket() {
    if (OpenPackets.IsEmpty())
        return true;
    const TPacket* innermost = OpenPackets.Peek();
    return innermost && innermost->EndOffset() > Position();
}

int32_t TPacketReader::PeekInteger() {
    const int64_t position = Position();
    const int32_t value = ReadInteger();
    SetPosition(position);
    return value;
}

std::string TPacketReader::PeekString() {
    const int64_t position = Position();
    std::string value;
    ReadString(value);
    SetPosition(position);
    return value;
}

} // namespace corvid
