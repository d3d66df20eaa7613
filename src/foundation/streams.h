#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

enum class SeekOrigin : int { Beginning = 0, Current = 1, End = 2 };

// The base of every stream: four virtual operations and one set of typed helpers on top of
// them. Integers are stored little-endian; strings carry a four-byte length prefix. Positions
// and sizes are 64-bit. A stream is used by one thread at a time.
class TKStream {
public:
    TKStream() = default;
    TKStream(const TKStream&) = delete;
    TKStream& operator=(const TKStream&) = delete;
    virtual ~TKStream() = default;

    virtual void SetSize(int64_t newSize) = 0;
    // Both return the bytes actually moved.
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t count) = 0;
    // Returns the new absolute position.
    virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    // Seeks to the end and back; streams that know their size answer without moving.
    virtual int64_t Size();

    int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(int64_t position) { Seek(position, SeekOrigin::Beginning); }
    bool Eof() { return Position() >= Size(); }

    // One-byte family; a boolean is stored as 0 or 1 and any non-zero byte reads as true.
    // The forms with a reference return the bytes moved; the value forms return 0 when
    // nothing could be read.
    size_t WriteByte(uint8_t value) { return Write(&value, 1); }
    size_t WriteChar(char value) { return Write(&value, 1); }
    size_t WriteBoolean(bool value) { return WriteByte(value ? 1 : 0); }
    size_t ReadByte(uint8_t& value);
    size_t ReadChar(char& value);
    size_t ReadBoolean(bool& value);
    uint8_t ReadByte();
    char ReadChar();
    bool ReadBoolean();

    // Four-byte family: a value that arrives incomplete reads as 0.
    size_t WriteInteger(int32_t value) { return WriteCardinal(static_cast<uint32_t>(value)); }
    size_t WriteCardinal(uint32_t value);
    size_t ReadInteger(int32_t& value);
    size_t ReadCardinal(uint32_t& value);
    int32_t ReadInteger();
    uint32_t ReadCardinal();

    // Length prefix and characters; returns 4 + the characters moved.
    size_t WriteString(std::string_view s);
    // A negative stored length raises Error. The string grows only as characters really
    // arrive, so a hostile length costs no more memory than the stream holds; a stream that
    // ends early gives the characters it had.
    size_t ReadString(std::string& s);
    // Characters up to a zero byte (consumed, not stored) or the end of the stream.
    size_t ReadCString(std::string& s);

    size_t WriteText(std::string_view s);
    size_t WriteLine(std::string_view s);     // CR LF after the text
    size_t WriteUnixLine(std::string_view s); // LF after the text
    // CR LF, LF CR, a lone CR and a lone LF each end one line; CR CR ends two. Returns the
    // bytes consumed, line end included: 0 only at the end of the stream.
    size_t ReadLine(std::string& s);
    // True when the first line-end byte from here on is LF; the position is kept.
    bool IsUnixText();
};

// A stream in a block of memory. Reading outside 0..Size-1 gives nothing; writing past the
// end grows the block and fills any gap with zeros; writing at a negative position raises.
class TKMemStream : public TKStream {
public:
    void SetSize(int64_t newSize) override;
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    // Positions are not clamped: a later Read or Write decides.
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(Block.size()); }

    const uint8_t* Memory() const { return Block.data(); }

private:
    std::vector<uint8_t> Block;
    int64_t Current = 0;
};

// Write-only view of another stream (not owned). Seeks and the size are those of the
// underlying stream; reading or resizing through it is a programming error.
class TKWriter : public TKStream {
public:
    explicit TKWriter(TKStream& stream) : Stream(stream) {}

    void SetSize(int64_t newSize) override;
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override { return Stream.Write(buffer, count); }
    int64_t Seek(int64_t offset, SeekOrigin origin) override { return Stream.Seek(offset, origin); }
    int64_t Size() override { return Stream.Size(); }

protected:
    TKStream& Stream;
};

// Read-only view of another stream (not owned), the mirror of TKWriter.
class TKReader : public TKStream {
public:
    explicit TKReader(TKStream& stream) : Stream(stream) {}

    void SetSize(int64_t newSize) override;
    size_t Read(void* buffer, size_t count) override { return Stream.Read(buffer, count); }
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override { return Stream.Seek(offset, origin); }
    int64_t Size() override { return Stream.Size(); }

protected:
    TKStream& Stream;
};

} // namespace corvid
