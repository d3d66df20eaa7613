// The assembler's speed. First, whole processes side by side on the same generated programs of
// 20,000 and 200,000 lines: corvid-asm against GNU as for the 68HC11 (m68hc11-as --mri alone),
// median wall time of 5 runs and peak resident memory of each. Then Google Benchmark of the
// assembly inside the library (tokenising, both passes, the S19 file) in lines per second, and
// of loading the source file into a document, the rest of corvid-asm's work.

#include "assembler/hc11_assembler.h"
#include "editor/editor_file_parser.h"
#include "editor/text_editor_file.h"
#include "isa_table.h"
#include "program_generator.h"
#include "program_runner.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <unistd.h>

namespace {

using namespace corvid;
using corvid::testing::TDualProgram;

constexpr int ProgramSizes[] = {20000, 200000};
constexpr int Runs = 5;

const corvid::testing::TIsaTable& Isa() {
    static const auto table = corvid::testing::ReadIsaTable(CORVID_ISA_TABLE);
    return table;
}

const TDualProgram& Program(int lines) {
    static std::map<int, TDualProgram> programs;
    auto found = programs.find(lines);
    if (found == programs.end())
        found = programs.emplace(lines, corvid::testing::GenerateRealisticProgram(Isa(), lines, 7))
                    .first;
    return found->second;
}

class TScratchDirectory {
public:
    TScratchDirectory() {
        char name[] = "/tmp/corvid-asm-bench-XXXXXX";
        if (mkdtemp(name) != nullptr)
            Path = name;
    }
    ~TScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    std::string File(const std::string& name) const { return (Path / name).string(); }
    std::filesystem::path Path;
};

struct TTiming {
    bool Ok = false;
    double MedianSeconds = 0;
    double MedianCpuSeconds = 0; // user and system: steadier than wall time on a busy machine
    long PeakRssKiB = 0;
    std::string Failure;
};

TTiming TimeProcess(const std::vector<std::string>& arguments) {
    TTiming timing;
    std::vector<double> seconds;
    std::vector<double> cpuSeconds;
    for (int run = 0; run < Runs; ++run) {
        const auto result = corvid::testing::RunProcess(arguments);
        if (!result.Started || result.ExitCode != 0) {
            timing.Failure = arguments[0] +
                             (result.Started ? " exited with " + std::to_string(result.ExitCode)
                                             : " did not start") +
                             ": " + result.Output.substr(0, 400);
            return timing;
        }
        seconds.push_back(result.Seconds);
        cpuSeconds.push_back(result.CpuSeconds);
        timing.PeakRssKiB = std::max(timing.PeakRssKiB, result.PeakRssKiB);
    }
    std::sort(seconds.begin(), seconds.end());
    std::sort(cpuSeconds.begin(), cpuSeconds.end());
    timing.MedianSeconds = seconds[Runs / 2];
    timing.MedianCpuSeconds = cpuSeconds[Runs / 2];
    timing.Ok = true;
    return timing;
}

void PrintTiming(const char* who, const TTiming& timing, int lines) {
    if (!timing.Ok) {
        std::printf("  %-18s not measured: %s\n", who, timing.Failure.c_str());
        return;
    }
    std::printf("  %-18s wall %6.3f s (%8.0f lines/s)  cpu %6.3f s  peak %5.1f MiB\n", who,
                timing.MedianSeconds, lines / timing.MedianSeconds, timing.MedianCpuSeconds,
                timing.PeakRssKiB / 1024.0);
}

// Both assemblers as whole processes on the same program, written to files in both syntaxes.
void CompareProcesses() {
    const bool haveCorvid = access(CORVID_ASM_PROGRAM, X_OK) == 0;
    const bool haveGnu = corvid::testing::IsOnPath("m68hc11-as");
    std::printf("Whole processes, median of %d runs (corvid-asm: %s)\n", Runs, CORVID_ASM_PROGRAM);
    if (!haveCorvid)
        std::printf("  corvid-asm is not built yet: build the target corvid-asm first\n");
    if (!haveGnu)
        std::printf("  m68hc11-as is not on PATH (Debian package binutils-m68hc1x)\n");
    TScratchDirectory directory;
    std::map<int, double> corvidSeconds;
    for (const int lines : ProgramSizes) {
        const TDualProgram& program = Program(lines);
        std::ofstream(directory.File("prog.asm"), std::ios::binary) << program.Corvid;
        std::ofstream(directory.File("prog.s"), std::ios::binary) << program.Gnu;
        std::printf("%d lines (%.0f KB, %.1f characters a line)\n", program.Lines,
                    program.Corvid.size() / 1000.0,
                    static_cast<double>(program.Corvid.size()) / program.Lines);
        TTiming corvid;
        TTiming gnu;
        if (haveCorvid) {
            corvid = TimeProcess({CORVID_ASM_PROGRAM, "-o", directory.File("corvid.s19"),
                                  directory.File("prog.asm")});
            PrintTiming("corvid-asm", corvid, program.Lines);
            if (corvid.Ok)
                corvidSeconds[lines] = corvid.MedianSeconds;
        }
        if (haveGnu) {
            gnu = TimeProcess(
                {"m68hc11-as", "--mri", "-o", directory.File("gnu.o"), directory.File("prog.s")});
            PrintTiming("m68hc11-as --mri", gnu, program.Lines);
        }
        if (corvid.Ok && gnu.Ok)
            std::printf("  GNU as / Corvid: wall %.2f, cpu %.2f, peak memory %.2f\n",
                        gnu.MedianSeconds / corvid.MedianSeconds,
                        gnu.MedianCpuSeconds / corvid.MedianCpuSeconds,
                        static_cast<double>(gnu.PeakRssKiB) / corvid.PeakRssKiB);
    }
    if (corvidSeconds.size() == 2)
        std::printf("corvid-asm time for %d lines / time for %d lines: %.1f (10 is linear)\n\n",
                    ProgramSizes[1], ProgramSizes[0],
                    corvidSeconds[ProgramSizes[1]] / corvidSeconds[ProgramSizes[0]]);
}

// Tokenising, both passes and the S19 file, over a document loaded once.
void BM_AssembleInLibrary(benchmark::State& state) {
    const TDualProgram& program = Program(static_cast<int>(state.range(0)));
    TTextEditorFile document;
    document.LoadFromText(program.Corvid);
    TScratchDirectory directory;
    const std::string output = directory.File("out.s19");
    THC11Assembler assembler;
    int errors = 0;
    const auto onMessage = [&](const std::string&, int kind, int, int, int) {
        errors += kind == AsmError;
    };
    for (auto _ : state) {
        TEditorFileParser parser;
        parser.Source = &document;
        benchmark::DoNotOptimize(assembler.Assemble(parser, output, onMessage, nullptr));
    }
    if (errors != 0)
        state.SkipWithError("the generated program does not assemble");
    state.SetItemsProcessed(state.iterations() * program.Lines);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(program.Corvid.size()));
    state.counters["lines"] = program.Lines;
}
BENCHMARK(BM_AssembleInLibrary)
    ->Arg(ProgramSizes[0])
    ->Arg(ProgramSizes[1])
    ->Unit(benchmark::kMillisecond);

// The other part of what corvid-asm does: reading the source file into a document.
void BM_LoadDocument(benchmark::State& state) {
    const TDualProgram& program = Program(static_cast<int>(state.range(0)));
    TScratchDirectory directory;
    const std::string source = directory.File("prog.asm");
    std::ofstream(source, std::ios::binary) << program.Corvid;
    for (auto _ : state) {
        TTextEditorFile document;
        document.LoadFromFile(source);
        benchmark::DoNotOptimize(document.LineCount());
    }
    state.SetItemsProcessed(state.iterations() * program.Lines);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(program.Corvid.size()));
}
BENCHMARK(BM_LoadDocument)
    ->Arg(ProgramSizes[0])
    ->Arg(ProgramSizes[1])
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CompareProcesses();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
