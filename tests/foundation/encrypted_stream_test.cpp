#include "foundation/encrypted_stream.h"
#include "stream_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace corvid {
namespace {

using testing::Contents;
using testing::Load;

constexpr size_t TableOffset = 9;
constexpr size_t LengthOffset = 265;
constexpr size_t PasswordOffset = 269;

uint8_t At(const std::string& bytes, size_t offset) {
    return static_cast<uint8_t>(bytes[offset]);
}

std::string Payload(size_t size) {
    std::string payload;
    for (size_t i = 0; i < size; ++i)
        payload.push_back(static_cast<char>(i * 7 + 3));
    return payload;
}

std::string Encipher(const std::string& password, const std::string& payload) {
    TKMemStream memory;
    TEncryptedStream stream(memory);
    stream.InitWrite(password);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.BaseOffset(), static_cast<int64_t>(PasswordOffset + password.size()));
    EXPECT_EQ(stream.Write(payload.data(), payload.size()), payload.size());
    EXPECT_EQ(stream.Size(), static_cast<int64_t>(payload.size()));
    return Contents(memory);
}

// Checks every byte of an enciphered file against the layout that stored documents use.
void ExpectLayout(const std::string& password, const std::string& payload) {
    SCOPED_TRACE("password \"" + password + "\"");
    const std::string file = Encipher(password, payload);
    const size_t n = password.size();
    ASSERT_EQ(file.size(), PasswordOffset + n + payload.size());
    EXPECT_EQ(file.substr(0, 9), "1.crypt00");

    uint8_t key[256];
    for (size_t i = 0; i < 256; ++i) {
        const uint8_t table = At(file, TableOffset + i);
        EXPECT_LE(table, 254) << "table byte " << i;
        if (n == 0) {
            key[i] = table;
            continue;
        }
        const auto passwordByte = static_cast<uint8_t>(password[i % n]);
        EXPECT_NE(table, passwordByte) << "table byte " << i;
        key[i] = table ^ passwordByte;
        EXPECT_NE(key[i], 0) << "key byte " << i;
    }
    // Header fields use the key index of their offset in the file: 265 mod 256 = 9.
    for (size_t k = 0; k < 4; ++k) {
        const auto lengthByte = static_cast<uint8_t>(n >> (8 * k));
        EXPECT_EQ(At(file, LengthOffset + k) ^ key[(LengthOffset + k) % 256], lengthByte);
    }
    for (size_t k = 0; k < n; ++k)
        EXPECT_EQ(At(file, PasswordOffset + k) ^ key[(PasswordOffset + k) % 256],
                  static_cast<uint8_t>(password[k]));
    // The payload counts its own bytes from 0.
    for (size_t p = 0; p < payload.size(); ++p)
        ASSERT_EQ(At(file, PasswordOffset + n + p) ^ key[p % 256], static_cast<uint8_t>(payload[p]))
            << "payload byte " << p;
}

TEST(EncryptedStreamTest, LayoutIsExactForEveryPasswordLength) {
    // 9000 payload bytes cross the key many times and the transform's blocks.
    for (const char* password : {"", "x", "Secret", "\xFF\x01"})
        ExpectLayout(password, Payload(9000));
}

TEST(EncryptedStreamTest, ReadsBackThroughTheRightPassword) {
    TKMemStream memory;
    const std::string payload = Payload(1000);
    Load(memory, Encipher("Secret", payload));
    TEncryptedStream stream(memory);
    stream.InitRead("Secret");
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.Size(), 1000);
    std::string back(payload.size(), '\0');
    EXPECT_EQ(stream.Read(back.data(), back.size()), payload.size());
    EXPECT_EQ(back, payload);
    EXPECT_TRUE(stream.Eof());

    // Seeking works in payload positions, and the key follows the position.
    EXPECT_EQ(stream.Seek(0, SeekOrigin::Beginning), 0);
    EXPECT_EQ(memory.Position(), static_cast<int64_t>(PasswordOffset + 6));
    stream.Seek(300, SeekOrigin::Beginning);
    EXPECT_EQ(stream.ReadByte(), static_cast<uint8_t>(payload[300]));
    stream.Seek(-2, SeekOrigin::End);
    EXPECT_EQ(stream.ReadByte(), static_cast<uint8_t>(payload[998]));
}

TEST(EncryptedStreamTest, InitReadReportsTheFirstProblem) {
    const std::string good = Encipher("Secret", "payload");
    std::string otherMagic = good;
    otherMagic[0] = '2';
    const struct {
        const char* what;
        std::string file;
        std::string password;
        const char* expected;
    } cases[] = {
        {"plain file", "plain text, long enough to hold a header" + std::string(300, ' '), "Secret",
         "TEncryptedStream.InitRead Stream is not encrypted"},
        {"other magic, wrong password too", otherMagic, "nope",
         "TEncryptedStream.InitRead Stream is not encrypted"},
        {"table cut short", good.substr(0, 100), "Secret",
         "TEncryptedStream.InitRead Stream is not encrypted"},
        {"empty file", "", "", "TEncryptedStream.InitRead Stream is not encrypted"},
        {"shorter password", good, "Secre", "TEncryptedStream.InitRead Password Size Mismatch"},
        {"no password", good, "", "TEncryptedStream.InitRead Password Size Mismatch"},
        {"length cut short", good.substr(0, 267), "Secret",
         "TEncryptedStream.InitRead Password Size Mismatch"},
        // The length is deciphered with password characters 3, 4, 5 and 0 (key indices 9 to
        // 12), so a wrong character there already spoils the length.
        {"wrong character in the length key", good, "Secreu",
         "TEncryptedStream.InitRead Password Size Mismatch"},
        {"same length, other characters", good, "Sxcret",
         "TEncryptedStream.InitRead Password Mismatch"},
        {"case differs", good, "SeCret", "TEncryptedStream.InitRead Password Mismatch"},
        {"password cut short", good.substr(0, 272), "Secret",
         "TEncryptedStream.InitRead Password Mismatch"},
    };
    for (const auto& c : cases) {
        TKMemStream memory;
        Load(memory, c.file);
        TEncryptedStream stream(memory);
        try {
            stream.InitRead(c.password);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const TEncryptedStreamException& error) {
            EXPECT_STREQ(error.what(), c.expected) << c.what;
        }
    }
}

TEST(EncryptedStreamTest, HostileStoredLengthIsOnlyAMismatch) {
    std::string file = Encipher("", "");
    // Stored length -1 with an empty password's key (the table itself).
    for (size_t k = 0; k < 4; ++k)
        file[LengthOffset + k] = static_cast<char>(0xFF ^ At(file, TableOffset + 9 + k));
    TKMemStream memory;
    Load(memory, file);
    TEncryptedStream stream(memory);
    EXPECT_THROW(stream.InitRead(""), TEncryptedStreamException);
}

TEST(EncryptedStreamTest, EmptyPasswordPayloadStartsAt269) {
    TKMemStream memory;
    Load(memory, Encipher("", "abc"));
    TEncryptedStream stream(memory);
    stream.InitRead("");
    EXPECT_EQ(stream.BaseOffset(), 269);
    std::string line;
    EXPECT_EQ(stream.ReadLine(line), 3u);
    EXPECT_EQ(line, "abc");
}

} // namespace
} // namespace corvid
