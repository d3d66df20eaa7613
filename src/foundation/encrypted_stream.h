#pragma once

#include "foundation/errors.h"
#include "foundation/streams.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace corvid {

class TEncryptedStreamException : public Error {
public:
    using Error::Error;
};

// A password-protected stream over another stream (not owned; whoever created both frees
// both). The layout is fixed because enciphered documents on disk depend on every byte:
//
//   offset 0        "1.crypt00"
//   offset 9        256 table bytes, each 0..254 and different from its password byte
//   offset 265      password length, enciphered (four bytes, little-endian)
//   offset 269      password characters, enciphered
//   offset 269 + L  payload, enciphered
//
// Byte p is enciphered by XOR with Key[p mod 256], where p counts from the start of the
// underlying stream while the header is written and from the first payload byte afterwards.
// Key is the table XOR the password repeated (the table itself for an empty password).
//
// Once the header is processed, Position 0 is the first payload byte and Size is the payload
// length. The underlying stream should be buffered: every Read and Write asks it for its
// position.
class TEncryptedStream : public TKStream {
public:
    explicit TEncryptedStream(TKStream& stream) : Stream(stream) {}

    void InitWrite(std::string_view password);
    // Raises TEncryptedStreamException with "TEncryptedStream.InitRead Stream is not
    // encrypted", "... Password Size Mismatch" or "... Password Mismatch", checked in that
    // order. A header cut short counts as not encrypted.
    void InitRead(std::string_view password);

    void SetSize(int64_t newSize) override { Stream.SetSize(newSize + Base); }
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return Stream.Size() - Base; }

    // The underlying position of the first payload byte; 0 until a header is processed.
    int64_t BaseOffset() const { return Base; }

private:
    TKStream& Stream;
    int64_t Base = 0;
    std::array<uint8_t, 256> Key{};

    void DeriveKey(const std::array<uint8_t, 256>& table, std::string_view password);
};

} // namespace corvid
