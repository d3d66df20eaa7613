// Assembles hostile source text in both modes. Every run must end with a result: no crash, no
// hang, no exception escaping the assembler, and an S19 file whose records are well formed.
#include "assembler/hc11_assembler.h"
#include "editor/editor_file_parser.h"
#include "editor/text_editor_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

using namespace corvid;

namespace {

// A directory for the object file, in memory when the machine has one.
std::string OutputFile() {
    static const std::string file = [] {
        const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string directory = std::string(base) + "/corvid-asm-fuzz-" + std::to_string(getpid());
        std::filesystem::create_directories(directory);
        return directory + "/out.s19";
    }();
    return file;
}

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// Every line is an S1 record of 1..32 bytes whose checksum is right, then S9030000FC.
bool WellFormed(const std::string& s19) {
    size_t start = 0;
    for (;;) {
        const size_t end = s19.find("\r\n", start);
        const std::string record = s19.substr(start, end == std::string::npos ? end : end - start);
        if (end == std::string::npos)
            return record == "S9030000FC";
        if (record.size() < 12 || record.rfind("S1", 0) != 0 || record.size() % 2 != 0)
            return false;
        int sum = 0;
        for (size_t index = 2; index < record.size(); index += 2) {
            if (!IsHex(record[index]) || !IsHex(record[index + 1]))
                return false;
            sum += std::stoi(record.substr(index, 2), nullptr, 16);
        }
        const int count = std::stoi(record.substr(2, 2), nullptr, 16);
        if ((sum & 0xFF) != 0xFF || count != static_cast<int>(record.size() - 4) / 2 ||
            count > 35)
            return false;
        start = end + 2;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static THC11Assembler assembler;
    TTextEditorFile file;
    file.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
    for (const bool compatible : {false, true}) {
        std::filesystem::remove(OutputFile());
        TEditorFileParser parser;
        parser.Source = &file;
        assembler.CompatibilityMode = compatible;
        int errors = 0;
        const bool succeeded = assembler.Assemble(
            parser, OutputFile(),
            [&](const std::string& message, int kind, int, int, int) {
                if (kind == AsmError)
                    ++errors;
                if (message.find(':') == std::string::npos)
                    std::abort();
            },
            [](int, int, const TAsmInfoData&) {});
        if (errors > 1 || (errors == 1 && succeeded))
            std::abort();
        std::ifstream in(OutputFile(), std::ios::binary);
        if (in) {
            const std::string s19((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
            if (!WellFormed(s19))
                std::abort();
        }
    }
    return 0;
}
