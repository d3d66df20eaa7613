// Stream throughput: line reading over a buffered file, packet writing and reading, and the
// enciphered stream over a buffered file as documents use it.
#include "foundation/encrypted_stream.h"
#include "foundation/file_stream.h"
#include "foundation/packet_file.h"
#include "foundation/streams.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

using namespace corvid;

constexpr int DocumentBuffer = 2048; // what the editor uses for documents
constexpr size_t TextBytes = 8 << 20;

// Assembly-like lines of 0 to 80 characters ended by CR LF.
std::string GeneratedText() {
    std::mt19937 generator(42);
    std::uniform_int_distribution<int> length(0, 80);
    std::uniform_int_distribution<int> character(32, 126);
    std::string text;
    while (text.size() < TextBytes) {
        for (int n = length(generator); n > 0; --n)
            text.push_back(static_cast<char>(character(generator)));
        text += "\r\n";
    }
    return text;
}

class ScratchFiles {
public:
    ScratchFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvid-bench-XXXXXX");
        Directory = ::mkdtemp(pattern.data());
        Text = GeneratedText();
        WriteFile(PlainName(), [&](TKStream& file) { file.WriteText(Text); });
        WriteFile(EncipheredName(), [&](TKStream& file) {
            TEncryptedStream stream(file);
            stream.InitWrite("password");
            stream.WriteText(Text);
        });
    }
    ~ScratchFiles() { std::filesystem::remove_all(Directory); }

    std::string PlainName() const { return Directory + "/plain.asm"; }
    std::string EncipheredName() const { return Directory + "/enciphered.asm"; }
    std::string Text;

private:
    std::string Directory;

    template <typename Fill>
    static void WriteFile(const std::string& name, Fill fill) {
        TBufFileStream file(name, DocumentBuffer, FileMode::Create);
        fill(file);
        file.Flush();
    }
};

ScratchFiles& Files() {
    static ScratchFiles files;
    return files;
}

int64_t ReadAllLines(TKStream& stream) {
    std::string line;
    int64_t bytes = 0;
    while (const size_t count = stream.ReadLine(line))
        bytes += static_cast<int64_t>(count);
    return bytes;
}

void BM_ReadLineBufferedFile(benchmark::State& state) {
    int64_t bytes = 0;
    for (auto _ : state) {
        TBufFileStream file(Files().PlainName(), DocumentBuffer, FileMode::OpenRead);
        bytes += ReadAllLines(file);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadLineBufferedFile)->Unit(benchmark::kMillisecond);

void BM_EncryptedReadLine(benchmark::State& state) {
    int64_t bytes = 0;
    for (auto _ : state) {
        TBufFileStream file(Files().EncipheredName(), DocumentBuffer, FileMode::OpenRead);
        TEncryptedStream stream(file);
        stream.InitRead("password");
        bytes += ReadAllLines(stream);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_EncryptedReadLine)->Unit(benchmark::kMillisecond);

void BM_EncryptedReadBlocks(benchmark::State& state) {
    int64_t bytes = 0;
    std::string block(static_cast<size_t>(state.range(0)), '\0');
    for (auto _ : state) {
        TBufFileStream file(Files().EncipheredName(), DocumentBuffer, FileMode::OpenRead);
        TEncryptedStream stream(file);
        stream.InitRead("password");
        while (const size_t got = stream.Read(block.data(), block.size()))
            bytes += static_cast<int64_t>(got);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_EncryptedReadBlocks)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);

// A project-like file: an outer packet of many small packets with a version and fields.
constexpr int PacketCount = 50000;

void WritePackets(TKStream& stream) {
    TPacketWriter writer(stream);
    writer.OpenPacket("Data");
    for (int i = 0; i < PacketCount; ++i) {
        writer.OpenPacket("Project Files");
        writer.WriteInteger(1);
        writer.WriteString("src/module_with_a_name.asm");
        writer.WriteInteger(i);
        writer.WriteBoolean(true);
        writer.ClosePacket();
    }
    writer.ClosePacket();
    writer.Finish();
}

void BM_PacketWriteMemory(benchmark::State& state) {
    int64_t bytes = 0;
    for (auto _ : state) {
        TKMemStream memory;
        WritePackets(memory);
        bytes += memory.Size();
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_PacketWriteMemory)->Unit(benchmark::kMillisecond);

// Every ClosePacket asks for the position, which flushes a buffered file being written.
void BM_PacketWriteBufferedFile(benchmark::State& state) {
    const std::string name = Files().PlainName() + ".cfg";
    int64_t bytes = 0;
    for (auto _ : state) {
        TBufFileStream file(name, 256, FileMode::Create);
        WritePackets(file);
        file.Flush();
        bytes += file.Size();
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_PacketWriteBufferedFile)->Unit(benchmark::kMillisecond);

int64_t ReadPackets(TKStream& stream) {
    TPacketReader reader(stream);
    reader.ReadPacket();
    reader.EnterPacket();
    std::string text;
    int64_t sum = 0;
    while (reader.InPacket()) {
        reader.ReadPacket();
        reader.EnterPacket();
        reader.ReadInteger();
        reader.ReadString(text);
        sum += reader.ReadInteger();
        reader.LeavePacket();
    }
    reader.LeavePacket();
    return sum;
}

void BM_PacketReadMemory(benchmark::State& state) {
    TKMemStream memory;
    WritePackets(memory);
    for (auto _ : state) {
        memory.SetPosition(0);
        benchmark::DoNotOptimize(ReadPackets(memory));
    }
    state.SetBytesProcessed(state.iterations() * memory.Size());
}
BENCHMARK(BM_PacketReadMemory)->Unit(benchmark::kMillisecond);

void BM_PacketReadBufferedFile(benchmark::State& state) {
    const std::string name = Files().PlainName() + ".cfg";
    {
        TBufFileStream file(name, 256, FileMode::Create);
        WritePackets(file);
        file.Flush();
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        TBufFileStream file(name, 256, FileMode::OpenRead);
        benchmark::DoNotOptimize(ReadPackets(file));
        bytes += file.Size();
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_PacketReadBufferedFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
