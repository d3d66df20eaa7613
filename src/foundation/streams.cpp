#include "foundation/streams.h"

#include "foundation/errors.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace corvid {

namespace {

constexpr uint8_t CR = 13;
constexpr uint8_t LF = 10;

// Strings are read in pieces of this size, so memory follows the data that really arrives.
constexpr size_t StringChunk = 64 * 1024;

// IsUnixText looks ahead in blocks of this size.
constexpr size_t LookAheadBlock = 256;

bool IsLineEnd(uint8_t byte) {
    return byte == CR || byte == LF;
}

} // namespace

int64_t TKStream::Size() {
    const int64_t position = Position();
    const int64_t size = Seek(0, SeekOrigin::End);
    SetPosition(position);
    return size;
}

size_t TKStream::ReadByte(uint8_t& value) {
    value = 0;
    return Read(&value, 1);
}

size_t TKStream::ReadChar(char& value) {
    value = 0;
    return Read(&value, 1);
}

size_t TKStream::ReadBoolean(bool& value) {
    uint8_t byte;
    const size_t count = ReadByte(byte);
    value = byte != 0;
    return count;
}

uint8_t TKStream::ReadByte() {
    uint8_t value;
    ReadByte(value);
    return value;
}

char TKStream::ReadChar() {
    char value;
    ReadChar(value);
    return value;
}

bool TKStream::ReadBoolean() {
    bool value;
    ReadBoolean(value);
    return value;
}

size_t TKStream::WriteCardinal(uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return Write(bytes, sizeof bytes);
}

size_t TKStream::ReadCardinal(uint32_t& value) {
    uint8_t bytes[4] = {};
    const size_t count = Read(bytes, sizeof bytes);
    value = count < sizeof bytes
                ? 0
                : bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t{bytes[3]} << 24);
    return count;
}

size_t TKStream::ReadInteger(int32_t& value) {
    uint32_t bits;
    const size_t count = ReadCardinal(bits);
    value = static_cast<int32_t>(bits);
    return count;
}

int32_t TKStream::ReadInteger() {
    int32_t value;
    ReadInteger(value);
    return value;
}

uint32_t TKStream::ReadCardinal() {
    uint32_t value;
    ReadCardinal(value);
    return value;
}

size_t TKStream::WriteString(std::string_view s) {
    CORVID_ASSERT(s.size() <= static_cast<size_t>(std::numeric_limits<int32_t>::max()),
                  "TKStream.WriteString String Too Long");
    const size_t count = WriteInteger(static_cast<int32_t>(s.size()));
    return count + WriteText(s);
}

size_t TKStream::ReadString(std::string& s) {
    s.clear();
    int32_t length;
    const size_t prefix = ReadInteger(length);
    if (prefix < 4)
        return prefix;
    if (length < 0)
        throw Error("TKStream.ReadString Negative String Length");
    size_t remaining = static_cast<size_t>(length);
    while (remaining > 0) {
        const size_t wanted = std::min(remaining, StringChunk);
        const size_t old = s.size();
        s.resize(old + wanted);
        const size_t got = Read(s.data() + old, wanted);
        s.resize(old + got);
        if (got < wanted)
            break;
        remaining -= got;
    }
    return prefix + s.size();
}

size_t TKStream::ReadCString(std::string& s) {
    s.clear();
    size_t consumed = 0;
    char c;
    while (ReadChar(c) == 1) {
        ++consumed;
        if (c == 0)
            break;
        s.push_back(c);
    }
    return consumed;
}

size_t TKStream::WriteText(std::string_view s) {
    return s.empty() ? 0 : Write(s.data(), s.size());
}

size_t TKStream::WriteLine(std::string_view s) {
    static constexpr uint8_t lineEnd[2] = {CR, LF};
    const size_t count = WriteText(s);
    return count + Write(lineEnd, sizeof lineEnd);
}

size_t TKStream::WriteUnixLine(std::string_view s) {
    const size_t count = WriteText(s);
    return count + WriteByte(LF);
}

size_t TKStream::ReadLine(std::string& s) {
    s.clear();
    size_t consumed = 0;
    uint8_t byte;
    uint8_t lineEnd = 0;
    while (ReadByte(byte) == 1) {
        ++consumed;
        if (IsLineEnd(byte)) {
            lineEnd = byte;
            break;
        }
        s.push_back(static_cast<char>(byte));
    }
    if (lineEnd == 0 || ReadByte(byte) == 0)
        return consumed;
    const uint8_t partner = lineEnd == CR ? LF : CR;
    if (byte == partner)
        return consumed + 1;
    Seek(-1, SeekOrigin::Current);
    return consumed;
}

bool TKStream::IsUnixText() {
    const int64_t start = Position();
    uint8_t block[LookAheadBlock];
    bool unixText = false;
    for (;;) {
        const size_t count = Read(block, sizeof block);
        const uint8_t* end = block + count;
        const uint8_t* found = std::find_if(std::cbegin(block), end, IsLineEnd);
        if (found != end) {
            unixText = *found == LF;
            break;
        }
        if (count < sizeof block)
            break;
    }
    SetPosition(start);
    return unixText;
}

void TKMemStream::SetSize(int64_t newSize) {
    CORVID_ASSERT(newSize >= 0, "TKMemStream.SetSize Negative Size");
    Block.resize(static_cast<size_t>(newSize));
}

size_t TKMemStream::Read(void* buffer, size_t count) {
    if (Current < 0 || Current >= Size())
        return 0;
    count = std::min(count, static_cast<size_t>(Size() - Current));
    std::memcpy(buffer, Block.data() + Current, count);
    Current += static_cast<int64_t>(count);
    return count;
}

size_t TKMemStream::Write(const void* buffer, size_t count) {
    if (Current < 0)
        throw Error("TKMemStream.Write Negative Position");
    if (count == 0)
        return 0;
    const size_t end = static_cast<size_t>(Current) + count;
    if (end > Block.size())
        Block.resize(end);
    std::memcpy(Block.data() + Current, buffer, count);
    Current = static_cast<int64_t>(end);
    return count;
}

int64_t TKMemStream::Seek(int64_t offset, SeekOrigin origin) {
    switch (origin) {
    case SeekOrigin::Beginning:
        Current = offset;
        break;
    case SeekOrigin::Current:
        Current += offset;
        break;
    case SeekOrigin::End:
        Current = Size() + offset;
        break;
    }
    return Current;
}

void TKWriter::SetSize(int64_t) {
    AssertionFailed("TKWriter.SetSize Not Supported", __FILE__, __LINE__);
}

size_t TKWriter::Read(void*, size_t) {
    AssertionFailed("TKWriter.Read Not Supported", __FILE__, __LINE__);
}

void TKReader::SetSize(int64_t) {
    AssertionFailed("TKReader.SetSize Not Supported", __FILE__, __LINE__);
}

size_t TKReader::Write(const void*, size_t) {
    AssertionFailed("TKReader.Write Not Supported", __FILE__, __LINE__);
}

} // namespace corvid
