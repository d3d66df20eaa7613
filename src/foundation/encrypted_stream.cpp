#include "foundation/encrypted_stream.h"

#include <algorithm>
#include <random>
#include <string>

namespace corvid {

namespace {

constexpr std::string_view Magic = "1.crypt00";

// Bytes are enciphered through a buffer of this size instead of one call per byte.
constexpr size_t TransformBlock = 4096;

using Table = std::array<uint8_t, 256>;

// Each byte is drawn from 0..254 until it differs from its password byte, so that no key byte
// is zero; readers depend only on that, not on the generator.
Table RandomTable(std::string_view password) {
    std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> draw(0, 254);
    Table table;
    for (size_t i = 0; i < table.size(); ++i) {
        uint8_t byte = static_cast<uint8_t>(draw(generator));
        if (!password.empty()) {
            const uint8_t passwordByte = static_cast<uint8_t>(password[i % password.size()]);
            while (byte == passwordByte)
                byte = static_cast<uint8_t>(draw(generator));
        }
        table[i] = byte;
    }
    return table;
}

void Transform(uint8_t* bytes, size_t count, int64_t position, const Table& key) {
    for (size_t k = 0; k < count; ++k)
        bytes[k] ^= key[static_cast<uint8_t>(position + static_cast<int64_t>(k))];
}

} // namespace

void TEncryptedStream::DeriveKey(const Table& table, std::string_view password) {
    Key = table;
    if (password.empty())
        return;
    for (size_t i = 0; i < Key.size(); ++i)
        Key[i] ^= static_cast<uint8_t>(password[i % password.size()]);
}

void TEncryptedStream::InitWrite(std::string_view password) {
    Base = 0;
    Stream.Write(Magic.data(), Magic.size());
    const Table table = RandomTable(password);
    Stream.Write(table.data(), table.size());
    DeriveKey(table, password);
    WriteString(password);
    Base = Stream.Position();
}

void TEncryptedStream::InitRead(std::string_view password) {
    Base = 0;
    char magic[Magic.size()];
    Table table;
    if (Stream.Read(magic, sizeof magic) != sizeof magic ||
        std::string_view(magic, sizeof magic) != Magic ||
        Stream.Read(table.data(), table.size()) != table.size())
        throw TEncryptedStreamException("TEncryptedStream.InitRead Stream is not encrypted");
    DeriveKey(table, password);
    int32_t length;
    if (ReadInteger(length) != 4 || length < 0 || static_cast<size_t>(length) != password.size())
        throw TEncryptedStreamException("TEncryptedStream.InitRead Password Size Mismatch");
    std::string stored(password.size(), '\0');
    if (Read(stored.data(), stored.size()) != stored.size() || stored != password)
        throw TEncryptedStreamException("TEncryptedStream.InitRead Password Mismatch");
    Base = Stream.Position();
}

size_t TEncryptedStream::Read(void* buffer, size_t count) {
    const int64_t position = Position();
    const size_t got = Stream.Read(buffer, count);
    Transform(static_cast<uint8_t*>(buffer), got, position, Key);
    return got;
}

size_t TEncryptedStream::Write(const void* buffer, size_t count) {
    int64_t position = Position();
    const auto* source = static_cast<const uint8_t*>(buffer);
    uint8_t block[TransformBlock];
    size_t written = 0;
    while (written < count) {
        const size_t piece = std::min(count - written, sizeof block);
        std::copy_n(source + written, piece, block);
        Transform(block, piece, position, Key);
        const size_t accepted = Stream.Write(block, piece);
        written += accepted;
        position += static_cast<int64_t>(accepted);
        if (accepted < piece)
            break;
    }
    return written;
}

int64_t TEncryptedStream::Seek(int64_t offset, SeekOrigin origin) {
    if (origin == SeekOrigin::Beginning)
        offset += Base;
    return Stream.Seek(offset, origin) - Base;
}

} // namespace corvid
