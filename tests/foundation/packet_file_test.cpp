#include "foundation/errors.h"
#include "foundation/file_stream.h"
#include "foundation/packet_file.h"
#include "stream_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace corvid {
namespace {

using testing::Contents;
using testing::Load;

std::string Int(int32_t value) {
    std::string bytes(4, '\0');
    for (int k = 0; k < 4; ++k)
        bytes[static_cast<size_t>(k)] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * k));
    return bytes;
}

std::string Header(const std::string& name, int32_t payloadSize) {
    return Int(static_cast<int32_t>(name.size())) + name + Int(payloadSize);
}

std::string ErrorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

TEST(PacketWriterTest, EmptyPacketTakesTwelveBytes) {
    TKMemStream memory;
    TPacketWriter writer(memory);
    writer.OpenPacket("Keys");
    writer.ClosePacket();
    writer.Finish();
    EXPECT_EQ(Contents(memory), Header("Keys", 0));
}

TEST(PacketWriterTest, OuterSizeIncludesInnerHeaders) {
    TKMemStream memory;
    memory.WriteText("CRV ");
    TPacketWriter writer(memory);
    writer.OpenPacket("Data");
    writer.WriteInteger(1);
    writer.OpenPacket("Options");
    writer.WriteInteger(2);
    writer.WriteBoolean(true);
    writer.ClosePacket();
    writer.ClosePacket();
    writer.Finish();
    const std::string inner = Header("Options", 5) + Int(2) + "\x01";
    EXPECT_EQ(Contents(memory),
              "CRV " + Header("Data", static_cast<int32_t>(4 + inner.size())) + Int(1) + inner);
}

TEST(PacketWriterTest, MisuseIsReported) {
    TKMemStream memory;
    TPacketWriter writer(memory);
    EXPECT_EQ(ErrorText([&] { writer.ClosePacket(); }),
              "TPacketWriter.ClosePacket No Packets Open");
    writer.OpenPacket("Data");
    EXPECT_EQ(ErrorText([&] { writer.Finish(); }), "TPacketWriter.Destroy Packets Still Open");
    EXPECT_EQ(writer.OpenCount(), 1);
}

// The configuration file's shape: leading bytes, an outer packet holding versioned packets.
std::string SampleFile() {
    TKMemStream memory;
    memory.WriteText("CRV ");
    memory.WriteInteger(0);
    TPacketWriter writer(memory);
    writer.OpenPacket("Data");
    writer.OpenPacket("Options");
    writer.WriteInteger(1);
    writer.WriteString("tab width");
    writer.WriteInteger(8);
    writer.ClosePacket();
    writer.OpenPacket("Future");
    writer.WriteInteger(9);
    writer.OpenPacket("Nested");
    writer.WriteString("unknown to this reader");
    writer.ClosePacket();
    writer.ClosePacket();
    writer.OpenPacket("Keys");
    writer.WriteInteger(1);
    writer.WriteInteger(2);
    writer.WriteString("F1");
    writer.WriteString("F2");
    writer.ClosePacket();
    writer.ClosePacket();
    writer.Finish();
    return Contents(memory);
}

// Reads like every caller does and returns what it saw.
std::vector<std::string> ReadLikeACaller(TKStream& stream) {
    std::vector<std::string> seen;
    TPacketReader reader(stream);
    EXPECT_EQ(reader.ReadCardinal(), 0x20565243u); // "CRV "
    reader.ReadInteger();
    EXPECT_EQ(reader.PeekInteger(), 4);
    EXPECT_EQ(reader.PeekString(), "Data");
    reader.ReadPacket();
    reader.EnterPacket();
    while (reader.InPacket()) {
        TPacket* packet = reader.ReadPacket();
        reader.EnterPacket();
        if (packet->Name == "Options") {
            seen.push_back("Options v" + std::to_string(reader.ReadInteger()));
            std::string text;
            reader.ReadString(text);
            seen.push_back(text + "=" + std::to_string(reader.ReadInteger()));
        } else if (packet->Name == "Keys") {
            // Only the version: leaving skips the rest.
            seen.push_back("Keys v" + std::to_string(reader.ReadInteger()));
        } else {
            seen.push_back("skipped " + packet->Name);
        }
        reader.LeavePacket();
    }
    reader.LeavePacket();
    EXPECT_EQ(reader.ReadPacket(), nullptr);
    EXPECT_TRUE(reader.Eof());
    return seen;
}

TEST(PacketReaderTest, ReadsKnownPacketsAndSkipsTheRest) {
    const std::vector<std::string> expected = {"Options v1", "tab width=8", "skipped Future",
                                               "Keys v1"};
    TKMemStream memory;
    Load(memory, SampleFile());
    EXPECT_EQ(ReadLikeACaller(memory), expected);

    testing::TempDir dir;
    testing::WriteFileBytes(dir / "default.cfg", SampleFile());
    TBufFileStream file(dir / "default.cfg", 256, FileMode::OpenRead);
    EXPECT_EQ(ReadLikeACaller(file), expected);
}

TEST(PacketReaderTest, PacketsWrittenThroughABufferedFileReadBack) {
    testing::TempDir dir;
    {
        TBufFileStream file(dir / "default.cfg", 16, FileMode::Create);
        TKMemStream memory;
        Load(memory, SampleFile());
        file.Write(memory.Memory(), static_cast<size_t>(memory.Size()));
        file.Flush();
    }
    {
        TBufFileStream file(dir / "rewritten.cfg", 16, FileMode::Create);
        file.WriteText("CRV ");
        file.WriteInteger(0);
        TPacketWriter writer(file);
        writer.OpenPacket("Data");
        writer.OpenPacket("Keys");
        writer.WriteInteger(1);
        writer.WriteString(std::string(40, 'k'));
        writer.ClosePacket();
        writer.ClosePacket();
        writer.Finish();
        file.Flush();
    }
    TBufFileStream file(dir / "rewritten.cfg", 16, FileMode::OpenRead);
    EXPECT_EQ(ReadLikeACaller(file), std::vector<std::string>{"Keys v1"});
}

TEST(PacketReaderTest, ReadsStayInsideTheOpenPacket) {
    TKMemStream memory;
    Load(memory, Header("Old", 4) + Int(1) + Header("Next", 0));
    TPacketReader reader(memory);
    reader.ReadPacket();
    reader.EnterPacket();
    EXPECT_EQ(reader.BytesLeft(), 4);
    EXPECT_EQ(reader.ReadInteger(), 1);
    // A field that this older packet lacks reads as 0, not as the next header.
    EXPECT_EQ(reader.ReadInteger(), 0);
    std::string text = "old";
    EXPECT_EQ(reader.ReadString(text), 0u);
    EXPECT_FALSE(reader.InPacket());
    reader.LeavePacket();
    EXPECT_EQ(reader.ReadPacket()->Name, "Next");
}

TEST(PacketReaderTest, LeavingRightAfterTheVersionLandsAfterThePacket) {
    TKMemStream memory;
    Load(memory, Header("A", 12) + Int(3) + Int(4) + Int(5) + Header("B", 0));
    TPacketReader reader(memory);
    TPacket* packet = reader.ReadPacket();
    ASSERT_NE(packet, nullptr);
    EXPECT_EQ(packet->StartOffset, 0);
    EXPECT_EQ(packet->PayloadSize, 12);
    reader.EnterPacket();
    EXPECT_EQ(reader.ReadInteger(), 3);
    reader.LeavePacket();
    EXPECT_EQ(reader.Position(), 21);
    EXPECT_EQ(reader.ReadPacket()->Name, "B");
}

TEST(PacketReaderTest, MisuseIsReported) {
    TKMemStream memory;
    TPacketReader reader(memory);
    EXPECT_EQ(ErrorText([&] { reader.SkipPacket(nullptr); }),
              "TPacketReader.SkipPacket nil Packet");
    EXPECT_EQ(ErrorText([&] { reader.LeavePacket(); }), "TObjectStack.Pop Stack Underflow");
    // At the end there is no packet; entering it ends every loop and leaving it is an error.
    EXPECT_EQ(reader.ReadPacket(), nullptr);
    reader.EnterPacket();
    EXPECT_FALSE(reader.InPacket());
    EXPECT_EQ(reader.ReadPacket(), nullptr);
    EXPECT_EQ(ErrorText([&] { reader.LeavePacket(); }), "TPacketReader.SkipPacket nil Packet");
}

TEST(PacketReaderTest, HostileHeadersAreRejected) {
    const std::string invalid = "TPacketReader.ReadPacket Invalid Packet";
    const struct {
        const char* what;
        std::string bytes;
        bool enterFirst; // read the first packet's header and enter it before the one tested
    } cases[] = {
        {"negative name length", Int(-1) + "Data" + Int(0), false},
        {"huge name length", Int(0x7FFFFFFF) + "Data" + Int(0), false},
        {"name past the end", Int(5) + "Data" + Int(0), false},
        {"negative payload size", Header("Data", -1), false},
        {"huge payload size", Header("Data", 0x7FFFFFFF), false},
        {"payload past the end", Header("Data", 5) + "abcd", false},
        {"header cut short", Int(4) + "Da", false},
        {"inner packet longer than outer", Header("Data", 12) + Header("Keys", 1) + "x", true},
        {"inner size pointing back", Header("Data", 14) + Header("Ke", -14) + Int(0) + "xx", true},
        {"inner header cut by outer end", Header("Data", 6) + Header("Ke", 0), true},
    };
    for (const auto& c : cases) {
        TKMemStream memory;
        Load(memory, c.bytes);
        TPacketReader reader(memory);
        if (c.enterFirst) {
            ASSERT_NE(reader.ReadPacket(), nullptr) << c.what;
            reader.EnterPacket();
        }
        EXPECT_EQ(ErrorText([&] { reader.ReadPacket(); }), invalid) << c.what;
    }
}

TEST(PacketReaderTest, DeeplyNestedPacketsAreWalkedToTheEnd) {
    TKMemStream memory;
    TPacketWriter writer(memory);
    for (int depth = 0; depth < 50; ++depth)
        writer.OpenPacket("");
    for (int depth = 0; depth < 50; ++depth)
        writer.ClosePacket();
    writer.Finish();
    memory.SetPosition(0);
    TPacketReader reader(memory);
    int packets = 0;
    std::function<void()> walk = [&] {
        while (reader.InPacket()) {
            const TPacket* packet = reader.ReadPacket();
            if (!packet)
                return;
            ++packets;
            reader.EnterPacket();
            walk();
            reader.LeavePacket();
            EXPECT_EQ(reader.Position(), packet->EndOffset());
        }
    };
    walk();
    EXPECT_EQ(packets, 50);
    EXPECT_TRUE(reader.Eof());
}

} // namespace
} // namespace corvid
