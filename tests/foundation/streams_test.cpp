#include "foundation/encrypted_stream.h"
#include "foundation/errors.h"
#include "foundation/file_stream.h"
#include "foundation/streams.h"
#include "stream_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvid {
namespace {

using testing::Contents;
using testing::Load;
using testing::TempDir;

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

TEST(KStreamTest, FixedSizeValuesAreLittleEndian) {
    const struct {
        const char* what;
        std::function<size_t(TKStream&)> write;
        std::string expected;
    } cases[] = {
        {"byte", [](TKStream& s) { return s.WriteByte(0xAB); }, Bytes({0xAB})},
        {"char", [](TKStream& s) { return s.WriteChar('z'); }, "z"},
        {"true", [](TKStream& s) { return s.WriteBoolean(true); }, Bytes({1})},
        {"false", [](TKStream& s) { return s.WriteBoolean(false); }, Bytes({0})},
        {"integer", [](TKStream& s) { return s.WriteInteger(0x12345678); },
         Bytes({0x78, 0x56, 0x34, 0x12})},
        {"negative", [](TKStream& s) { return s.WriteInteger(-2); },
         Bytes({0xFE, 0xFF, 0xFF, 0xFF})},
        {"cardinal", [](TKStream& s) { return s.WriteCardinal(0xF0000001u); },
         Bytes({0x01, 0x00, 0x00, 0xF0})},
        {"string", [](TKStream& s) { return s.WriteString("Keys"); }, Bytes({4, 0, 0, 0}) + "Keys"},
        {"empty string", [](TKStream& s) { return s.WriteString(""); }, Bytes({0, 0, 0, 0})},
        {"text", [](TKStream& s) { return s.WriteText("ab"); }, "ab"},
        {"empty text", [](TKStream& s) { return s.WriteText(""); }, ""},
        {"line", [](TKStream& s) { return s.WriteLine("ab"); }, "ab\r\n"},
        {"unix line", [](TKStream& s) { return s.WriteUnixLine("ab"); }, "ab\n"},
    };
    for (const auto& c : cases) {
        TKMemStream stream;
        EXPECT_EQ(c.write(stream), c.expected.size()) << c.what;
        EXPECT_EQ(Contents(stream), c.expected) << c.what;
    }
}

TEST(KStreamTest, ReadsBackWhatWasWritten) {
    TKMemStream stream;
    stream.WriteByte(200);
    stream.WriteChar('q');
    stream.WriteBoolean(true);
    stream.WriteInteger(-123456);
    stream.WriteCardinal(4000000000u);
    stream.WriteString("hello");
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadByte(), 200);
    EXPECT_EQ(stream.ReadChar(), 'q');
    EXPECT_TRUE(stream.ReadBoolean());
    EXPECT_EQ(stream.ReadInteger(), -123456);
    EXPECT_EQ(stream.ReadCardinal(), 4000000000u);
    std::string s;
    EXPECT_EQ(stream.ReadString(s), 9u);
    EXPECT_EQ(s, "hello");
    EXPECT_TRUE(stream.Eof());
}

TEST(KStreamTest, ValuesThatDoNotArriveWhollyReadAsZero) {
    TKMemStream stream;
    Load(stream, Bytes({0x11, 0x22}));
    int32_t value = 99;
    EXPECT_EQ(stream.ReadInteger(value), 2u);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(stream.ReadByte(), 0);
    EXPECT_FALSE(stream.ReadBoolean());
    uint8_t byte = 7;
    EXPECT_EQ(stream.ReadByte(byte), 0u);
    EXPECT_EQ(byte, 0);
}

TEST(KStreamTest, ReadStringCountsWhatArrives) {
    const struct {
        const char* what;
        std::string bytes;
        size_t expectedCount;
        std::string expected;
    } cases[] = {
        {"complete", Bytes({3, 0, 0, 0}) + "abcdef", 7, "abc"},
        {"empty", Bytes({0, 0, 0, 0}) + "x", 4, ""},
        {"stream ends early", Bytes({10, 0, 0, 0}) + "abc", 7, "abc"},
        {"length cut short", Bytes({10, 0}), 2, ""},
        {"nothing", "", 0, ""},
    };
    for (const auto& c : cases) {
        TKMemStream stream;
        Load(stream, c.bytes);
        std::string s = "old";
        EXPECT_EQ(stream.ReadString(s), c.expectedCount) << c.what;
        EXPECT_EQ(s, c.expected) << c.what;
    }
}

TEST(KStreamTest, HostileStringLengthsCostNoMemory) {
    TKMemStream stream;
    Load(stream, Bytes({0xFF, 0xFF, 0xFF, 0x7F}) + "0123456789");
    std::string s;
    EXPECT_EQ(stream.ReadString(s), 14u);
    EXPECT_EQ(s, "0123456789");
    EXPECT_LT(s.capacity(), 1u << 20);

    Load(stream, Bytes({0xFE, 0xFF, 0xFF, 0xFF}) + "abc");
    try {
        stream.ReadString(s);
        FAIL() << "a negative length was accepted";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "TKStream.ReadString Negative String Length");
    }
}

TEST(KStreamTest, ReadCStringStopsAtZeroOrEnd) {
    TKMemStream stream;
    Load(stream, std::string("ab\0cd", 5));
    std::string s;
    EXPECT_EQ(stream.ReadCString(s), 3u);
    EXPECT_EQ(s, "ab");
    EXPECT_EQ(stream.ReadCString(s), 2u);
    EXPECT_EQ(s, "cd");
    EXPECT_EQ(stream.ReadCString(s), 0u);
    EXPECT_EQ(s, "");
}

// ReadLine and IsUnixText seek back over what they looked at, so they are checked on every
// kind of stream that gives them their input.
struct StreamKind {
    const char* Name;
    std::function<std::unique_ptr<TKStream>(const std::string& bytes, TempDir& dir)> Open;
};

// Keeps the memory stream alive under an encrypted stream.
class EncryptedOverMemory : public TEncryptedStream {
public:
    explicit EncryptedOverMemory(std::unique_ptr<TKMemStream> memory)
        : TEncryptedStream(*memory), Memory(std::move(memory)) {}

private:
    std::unique_ptr<TKMemStream> Memory;
};

const StreamKind StreamKinds[] = {
    {"memory",
     [](const std::string& bytes, TempDir&) -> std::unique_ptr<TKStream> {
         auto stream = std::make_unique<TKMemStream>();
         Load(*stream, bytes);
         return stream;
     }},
    {"buffered file",
     [](const std::string& bytes, TempDir& dir) -> std::unique_ptr<TKStream> {
         testing::WriteFileBytes(dir / "text", bytes);
         // A tiny buffer puts line ends on buffer boundaries.
         return std::make_unique<TBufFileStream>(dir / "text", 3, FileMode::OpenRead);
     }},
    {"encrypted",
     [](const std::string& bytes, TempDir&) -> std::unique_ptr<TKStream> {
         auto memory = std::make_unique<TKMemStream>();
         TEncryptedStream writer(*memory);
         writer.InitWrite("pw");
         writer.WriteText(bytes);
         memory->SetPosition(0);
         auto reader = std::make_unique<EncryptedOverMemory>(std::move(memory));
         reader->InitRead("pw");
         return reader;
     }},
};

TEST(KStreamTest, ReadLineAcceptsEveryLineEnd) {
    const std::string longLine(300, 'x');
    const struct {
        const char* what;
        std::string text;
        std::vector<std::pair<std::string, size_t>> lines; // text and bytes consumed
    } cases[] = {
        {"all kinds", "ab\r\ncd\n\ref\r\r", {{"ab", 4}, {"cd", 4}, {"ef", 3}, {"", 1}}},
        {"no final line end", "one\ntwo", {{"one", 4}, {"two", 3}}},
        {"LF CR then LF", "a\n\r\nb", {{"a", 3}, {"", 1}, {"b", 1}}},
        {"LF LF", "a\n\nb", {{"a", 2}, {"", 1}, {"b", 1}}},
        {"CR at the end", "a\r", {{"a", 2}}},
        {"empty lines", "\r\n\r\n", {{"", 2}, {"", 2}}},
        {"long line", longLine + "\r\nz", {{longLine, 302}, {"z", 1}}},
        {"empty", "", {}},
    };
    for (const StreamKind& kind : StreamKinds)
        for (const auto& c : cases) {
            TempDir dir;
            const auto stream = kind.Open(c.text, dir);
            std::string line;
            for (const auto& [text, consumed] : c.lines) {
                EXPECT_EQ(stream->ReadLine(line), consumed) << kind.Name << ": " << c.what;
                EXPECT_EQ(line, text) << kind.Name << ": " << c.what;
            }
            EXPECT_EQ(stream->ReadLine(line), 0u) << kind.Name << ": " << c.what;
            EXPECT_EQ(line, "") << kind.Name << ": " << c.what;
        }
}

TEST(KStreamTest, IsUnixTextLooksAtTheFirstLineEndAndStaysPut) {
    const struct {
        std::string text;
        bool expected;
    } cases[] = {
        {"ab\r\ncd\n", false},
        {"ab\ncd\r\n", true},
        {"abc", false},
        {"", false},
        {std::string(700, 'a') + "\n", true},
        {"\rx", false},
    };
    for (const StreamKind& kind : StreamKinds)
        for (const auto& c : cases) {
            TempDir dir;
            const auto stream = kind.Open("#" + c.text, dir);
            stream->ReadByte();
            EXPECT_EQ(stream->IsUnixText(), c.expected) << kind.Name << ": " << c.text;
            EXPECT_EQ(stream->Position(), 1) << kind.Name << ": " << c.text;
        }
}

TEST(KMemStreamTest, WritesFollowOneAnother) {
    TKMemStream stream;
    stream.WriteText("abc");
    stream.WriteText("de");
    EXPECT_EQ(Contents(stream), "abcde");
    EXPECT_EQ(stream.Position(), 5);
}

TEST(KMemStreamTest, SeeksAreNotClampedButReadsOutsideGiveNothing) {
    TKMemStream stream;
    Load(stream, "abcdef");
    EXPECT_EQ(stream.Seek(-2, SeekOrigin::End), 4);
    EXPECT_EQ(stream.Seek(-1, SeekOrigin::Current), 3);
    EXPECT_EQ(stream.Seek(10, SeekOrigin::Beginning), 10);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(stream.Seek(-3, SeekOrigin::Beginning), -3);
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(stream.Position(), -3);
    stream.SetPosition(4);
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");
}

TEST(KMemStreamTest, GapsAreZeroAndNegativePositionsRefuseWrites) {
    TKMemStream stream;
    stream.SetPosition(3);
    stream.WriteText("x");
    EXPECT_EQ(Contents(stream), Bytes({0, 0, 0, 'x'}));
    stream.SetSize(6);
    EXPECT_EQ(Contents(stream), Bytes({0, 0, 0, 'x', 0, 0}));
    stream.SetPosition(-1);
    try {
        stream.WriteText("y");
        FAIL() << "a write before the start was accepted";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "TKMemStream.Write Negative Position");
    }
    EXPECT_EQ(Contents(stream), Bytes({0, 0, 0, 'x', 0, 0}));
}

TEST(KForwarderTest, WriterAndReaderWorkOnTheUnderlyingStream) {
    TKMemStream memory;
    TKWriter writer(memory);
    writer.WriteString("abc");
    EXPECT_EQ(writer.Position(), 7);
    EXPECT_EQ(memory.Position(), 7);
    EXPECT_EQ(writer.Size(), 7);
    writer.SetPosition(0);
    TKReader reader(memory);
    std::string s;
    EXPECT_EQ(reader.ReadString(s), 7u);
    EXPECT_EQ(s, "abc");
    EXPECT_TRUE(reader.Eof());

    char byte = 0;
    EXPECT_THROW(writer.Read(&byte, 1), EAssertionFailed);
    EXPECT_THROW(reader.Write(&byte, 1), EAssertionFailed);
}

} // namespace
} // namespace corvid
