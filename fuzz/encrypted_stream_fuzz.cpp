// Opens hostile bytes as an enciphered document. The first input byte gives the password
// length (0..15), the next bytes the password, the rest is the file. Every failure must be a
// TEncryptedStreamException, and reading must end.
#include "foundation/encrypted_stream.h"
#include "foundation/streams.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t passwordLength = std::min<size_t>(data[0] % 16, size - 1);
    const std::string password(reinterpret_cast<const char*>(data + 1), passwordLength);
    const size_t fileOffset = 1 + passwordLength;
    corvid::TKMemStream memory;
    memory.Write(data + fileOffset, size - fileOffset);
    memory.SetPosition(0);
    corvid::TEncryptedStream stream(memory);
    try {
        stream.InitRead(password);
    } catch (const corvid::TEncryptedStreamException&) {
        return 0;
    }
    Check(stream.Position() == 0);
    const int64_t payloadSize = stream.Size();
    stream.IsUnixText();
    Check(stream.Position() == 0);
    std::string line;
    int64_t consumed = 0;
    while (const size_t count = stream.ReadLine(line)) {
        Check(line.size() <= count && count <= line.size() + 2);
        consumed += static_cast<int64_t>(count);
        Check(stream.Position() == consumed);
    }
    Check(consumed == payloadSize);
    stream.SetPosition(0);
    char block[97];
    int64_t total = 0;
    while (const size_t got = stream.Read(block, sizeof block))
        total += static_cast<int64_t>(got);
    Check(total == payloadSize);
    return 0;
}
