#include "simulator/s19_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace corvid {
namespace {

TEST(S19Loader, ReadsDataRecordsAndTheStartAddress) {
    const S19Image image = ParseS19("S00600004844521B\r\n"
                                    "S1060100010203F2\r\n"
                                    "s105e000a5a5d0\n"
                                    "\n"
                                    "S5030002FA\r\n"
                                    "S9030000FC");
    EXPECT_TRUE(image.Errors.empty());
    ASSERT_EQ(2u, image.Blocks.size());
    EXPECT_EQ(0x0100, image.Blocks[0].Address);
    EXPECT_EQ((std::vector<uint8_t>{0x01, 0x02, 0x03}), image.Blocks[0].Bytes);
    EXPECT_EQ(0xE000, image.Blocks[1].Address);
    ASSERT_TRUE(image.StartAddress.has_value());
    EXPECT_EQ(0u, *image.StartAddress);
}

TEST(S19Loader, ReadsTwentyFourAndThirtyTwoBitAddressesWithinSixtyFourK) {
    const S19Image image = ParseS19("S2060012345678E5\nS30600001000AB3E\nS804001234B5");
    EXPECT_TRUE(image.Errors.empty()) << image.Errors[0].Message();
    ASSERT_EQ(2u, image.Blocks.size());
    EXPECT_EQ(0x1234, image.Blocks[0].Address);
    EXPECT_EQ((std::vector<uint8_t>{0x56, 0x78}), image.Blocks[0].Bytes);
    EXPECT_EQ(0x1000, image.Blocks[1].Address);
    EXPECT_EQ(0x1234u, image.StartAddress.value_or(0));
}

// Each bad record is rejected with its line and reason; the good line after it still loads.
TEST(S19Loader, RejectsMalformedRecordsAndKeepsTheRest) {
    struct Case {
        const char* Record;
        const char* Message;
    };
    const Case cases[] = {
        {"S1040100AA51", "Line 1: checksum is 51, expected 50 (S1040100AA51)"},
        {"X1040100AA50", "Line 1: the line is not an S-record (it does not start with S) "
                         "(X1040100AA50)"},
        {"S4040100AA50", "Line 1: unknown record type (S4040100AA50)"},
        {"S", "Line 1: unknown record type (S)"},
        {"S1040100AG50", "Line 1: character 'G' is not a hexadecimal digit (S1040100AG50)"},
        {"S1040100AA5", "Line 1: the record has an odd number of hexadecimal digits "
                        "(S1040100AA5)"},
        {"S10401", "Line 1: the record is too short (S10401)"},
        {"S1050100AA50", "Line 1: byte count 05 does not match the 4 bytes that follow "
                         "(S1050100AA50)"},
        {"S105FFFFAABB97", "Line 1: the data at $FFFF runs beyond $FFFF (S105FFFFAABB97)"},
        {"S20600FFFFAABB96", "Line 1: the data at $FFFF runs beyond $FFFF (S20600FFFFAABB96)"},
        {"S30601000000AA4E", "Line 1: the data at $1000000 runs beyond $FFFF (S30601000000AA4E)"},
        {"S503000AF2", "Line 1: the count record says 10 data records, 0 precede it "
                       "(S503000AF2)"},
        {"S1FF0000000000000000000000000000000000000000000000000000000000000000000000000000",
         "Line 1: byte count FF does not match the 38 bytes that follow "
         "(S1FF0000000000000000000000000000000000000000...)"},
    };
    for (const Case& c : cases) {
        const S19Image image = ParseS19(std::string(c.Record) + "\r\nS1040200AA4F\r\n");
        ASSERT_EQ(1u, image.Errors.size()) << c.Record;
        EXPECT_EQ(c.Message, image.Errors[0].Message());
        ASSERT_EQ(1u, image.Blocks.size()) << c.Record;
        EXPECT_EQ(0x0200, image.Blocks[0].Address);
    }
}

TEST(S19Loader, NumbersLinesFromOne) {
    const S19Image image = ParseS19("S1040200AA4F\n\nS1040200AA00\n");
    ASSERT_EQ(1u, image.Errors.size());
    EXPECT_EQ(3, image.Errors[0].Line);
}

class S19File : public ::testing::Test {
protected:
    S19File()
        : Directory(std::filesystem::temp_directory_path() /
                    ("corvid_s19_" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(Directory);
    }
    ~S19File() override { std::filesystem::remove_all(Directory); }

    std::filesystem::path Directory;
};

TEST_F(S19File, ReadsARealFile) {
    const auto path = Directory / "program.s19";
    std::ofstream(path) << "S1040200AA4F\r\nS9030000FC";
    const S19Image image = ReadS19File(path.string());
    EXPECT_TRUE(image.Errors.empty());
    ASSERT_EQ(1u, image.Blocks.size());
}

TEST_F(S19File, MissingFileAndDirectoryAreErrors) {
    const auto missing = (Directory / "missing.s19").string();
    S19Image image = ReadS19File(missing);
    ASSERT_EQ(1u, image.Errors.size());
    EXPECT_EQ("\"" + missing + "\" does not exist", image.Errors[0].Message());
    image = ReadS19File(Directory.string());
    ASSERT_EQ(1u, image.Errors.size());
    EXPECT_EQ("\"" + Directory.string() + "\" is not a file", image.Errors[0].Message());
}

} // namespace
} // namespace corvid
