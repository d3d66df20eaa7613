#include "simulator/s19_loader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace corvid {

namespace {

// An image of 64 KB as S1 records is below 200 KB; anything far larger is not an S19 file for
// this processor, and reading it all would only waste memory.
constexpr uintmax_t MaximumFileSize = 16 * 1024 * 1024;
constexpr size_t ShownRecordLength = 44;

std::string HexByte(unsigned value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string_view Trimmed(std::string_view line) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!line.empty() && isBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back()))
        line.remove_suffix(1);
    return line;
}

// The address field's width in bytes for a record type, 0 for an unknown type.
int AddressBytes(char type) {
    switch (type) {
    case '0':
    case '1':
    case '5':
    case '9':
        return 2;
    case '2':
    case '6':
    case '8':
        return 3;
    case '3':
    case '7':
        return 4;
    default:
        return 0;
    }
}

bool IsDataRecord(char type) {
    return type == '1' || type == '2' || type == '3';
}
bool IsCountRecord(char type) {
    return type == '5' || type == '6';
}
bool IsStartRecord(char type) {
    return type == '7' || type == '8' || type == '9';
}

class Parser {
public:
    S19Image Parse(std::string_view text) {
        int lineNumber = 0;
        while (!text.empty()) {
            const size_t end = text.find('\n');
            const std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            ++lineNumber;
            ParseLine(Trimmed(line), lineNumber);
        }
        return std::move(Image);
    }

private:
    void ParseLine(std::string_view record, int lineNumber) {
        if (record.empty())
            return;
        Record = record;
        LineNumber = lineNumber;
        if (record[0] != 'S' && record[0] != 's')
            return Reject("the line is not an S-record (it does not start with S)");
        if (record.size() < 2 || AddressBytes(record[1]) == 0)
            return Reject("unknown record type");
        const char type = record[1];
        std::vector<uint8_t> bytes;
        if (!DecodeHex(record.substr(2), bytes))
            return;
        const size_t addressBytes = AddressBytes(type);
        if (bytes.size() < addressBytes + 2)
            return Reject("the record is too short");
        if (bytes[0] != bytes.size() - 1)
            return Reject("byte count " + HexByte(bytes[0]) + " does not match the " +
                          std::to_string(bytes.size() - 1) + " bytes that follow");
        if (!ChecksumMatches(bytes))
            return;
        uint32_t address = 0;
        for (size_t i = 0; i < addressBytes; ++i)
            address = address << 8 | bytes[1 + i];
        const auto payload =
            std::vector<uint8_t>(bytes.begin() + 1 + addressBytes, bytes.end() - 1);
        Accept(type, address, payload);
    }

    bool DecodeHex(std::string_view digits, std::vector<uint8_t>& bytes) {
        for (char c : digits)
            if (HexDigit(c) < 0) {
                Reject(std::string("character '") + c + "' is not a hexadecimal digit");
                return false;
            }
        if (digits.size() % 2 != 0) {
            Reject("the record has an odd number of hexadecimal digits");
            return false;
        }
        bytes.reserve(digits.size() / 2);
        for (size_t i = 0; i < digits.size(); i += 2)
            bytes.push_back(
                static_cast<uint8_t>(HexDigit(digits[i]) << 4 | HexDigit(digits[i + 1])));
        return true;
    }

    bool ChecksumMatches(const std::vector<uint8_t>& bytes) {
        unsigned sum = 0;
        for (size_t i = 0; i + 1 < bytes.size(); ++i)
            sum += bytes[i];
        const unsigned expected = ~sum & 0xFF;
        if (bytes.back() == expected)
            return true;
        Reject("checksum is " + HexByte(bytes.back()) + ", expected " + HexByte(expected));
        return false;
    }

    void Accept(char type, uint32_t address, const std::vector<uint8_t>& payload) {
        if (IsDataRecord(type))
            return AcceptData(address, payload);
        if (IsCountRecord(type))
            return CheckCount(address);
        if (IsStartRecord(type))
            Image.StartAddress = address;
    }

    void AcceptData(uint32_t address, const std::vector<uint8_t>& payload) {
        ++DataRecords;
        if (address + payload.size() > 0x10000) {
            char reason[64];
            std::snprintf(reason, sizeof reason, "the data at $%X runs beyond $FFFF", address);
            return Reject(reason);
        }
        Image.Blocks.push_back({static_cast<uint16_t>(address), payload});
    }

    void CheckCount(uint32_t count) {
        if (count != DataRecords)
            Reject("the count record says " + std::to_string(count) + " data records, " +
                   std::to_string(DataRecords) + " precede it");
    }

    void Reject(const std::string& reason) {
        Image.Errors.push_back({LineNumber, std::string(Record), reason});
    }

    S19Image Image;
    std::string_view Record;
    int LineNumber = 0;
    uint32_t DataRecords = 0;
};

} // namespace

std::string S19Error::Message() const {
    std::string text = Line > 0 ? "Line " + std::to_string(Line) + ": " + Reason : Reason;
    if (!Record.empty()) {
        const bool cut = Record.size() > ShownRecordLength;
        text += " (" + Record.substr(0, ShownRecordLength) + (cut ? "...)" : ")");
    }
    return text;
}

S19Image ParseS19(std::string_view text) {
    return Parser().Parse(text);
}

S19Image ReadS19File(const std::string& fileName) {
    S19Image failed;
    const auto fail = [&](const std::string& reason) {
        failed.Errors.push_back({0, "", "\"" + fileName + "\" " + reason});
        return failed;
    };
    std::error_code error;
    const auto status = std::filesystem::status(fileName, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return fail("does not exist");
    if (error)
        return fail("cannot be read: " + error.message());
    if (status.type() != std::filesystem::file_type::regular)
        return fail("is not a file");
    const auto size = std::filesystem::file_size(fileName, error);
    if (error)
        return fail("cannot be read: " + error.message());
    if (size > MaximumFileSize)
        return fail("is too large for an S19 file");
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return fail(std::string("cannot be read: ") + std::strerror(errno));
    std::string text(size, '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(size)))
        return fail("cannot be read");
    return ParseS19(text);
}

} // namespace corvid
