// Throughput of the shared text routines on generated assembly source: SearchText in its main
// modes (MB/s over the whole text, every match visited), ReplaceAllText, and the per-line
// ExtractPattern and GetParam calls that message and help parsing make.
#include "foundation/extract_pattern.h"
#include "foundation/text_fields.h"
#include "foundation/text_search.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace corvid {
namespace {

std::string MakeSource(size_t size) {
    static const char* const Lines[] = {
        "LOOP    LDAA  $1000,X      ; read the port\r\n",
        "        STAA  PORTB        ; show it\r\n",
        "        ldab  #%00101101\r\n",
        "        INX\r\n",
        "        CPX   #TABLE_END\r\n",
        "        BNE   LOOP\r\n",
        "delay   ldy   #$FFFF       ; about 0.2 s\r\n",
        "wait    dey\r\n",
        "        bne   wait\r\n",
        "* a comment line mentioning ldaa and staa\r\n",
    };
    std::mt19937 random(1);
    std::uniform_int_distribution<size_t> pick(0, std::size(Lines) - 1);
    std::string text;
    while (text.size() < size)
        text += Lines[pick(random)];
    return text;
}

const std::string& Source() {
    static const std::string text = MakeSource(1 << 20);
    return text;
}

void SearchAll(benchmark::State& state, const char* pattern, unsigned options) {
    const std::string& text = Source();
    int matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (int at = SearchText(pattern, text, 1, options); at > 0;
             at = SearchText(pattern, text, at + 1, options))
            ++matches;
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = matches;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

void BM_SearchLiteral(benchmark::State& state) {
    SearchAll(state, "STAA", soCaseSensitive);
}
void BM_SearchLiteralRare(benchmark::State& state) {
    SearchAll(state, "TABLE_START", soCaseSensitive);
}
void BM_SearchCaseInsensitive(benchmark::State& state) {
    SearchAll(state, "staa", 0);
}
void BM_SearchWholeWord(benchmark::State& state) {
    SearchAll(state, "loop", soWordStart | soWordEnd);
}
void BM_SearchWildcards(benchmark::State& state) {
    SearchAll(state, "ld?a*,x", soWildcards);
}

void BM_ReplaceAllText(benchmark::State& state) {
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string text = Source();
        state.ResumeTiming();
        count = ReplaceAllText(text, "ldaa", "LDAB", 0);
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["replacements"] = count;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Source().size()));
}

void BM_ExtractPatternRest(benchmark::State& state) {
    const std::string line = ":LineHelp LDAA  Load accumulator A from memory";
    for (auto _ : state)
        benchmark::DoNotOptimize(ExtractPattern(line, "ffc ffn rt[msce]"));
    state.SetItemsProcessed(state.iterations());
}

void BM_ExtractPatternMessage(benchmark::State& state) {
    const std::string line = "12: Error:Label redeclared LOOP";
    for (auto _ : state)
        benchmark::DoNotOptimize(ExtractPattern(line, "ffc:rt[+msce]"));
    state.SetItemsProcessed(state.iterations());
}

void BM_GetParam(benchmark::State& state) {
    const std::string line = "0100 86 05 B7 10 00 20 FE 01 01 01 01 01 01 01 01 01 01";
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(GetParam(line, n));
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_SearchLiteral);
BENCHMARK(BM_SearchLiteralRare);
BENCHMARK(BM_SearchCaseInsensitive);
BENCHMARK(BM_SearchWholeWord);
BENCHMARK(BM_SearchWildcards);
BENCHMARK(BM_ReplaceAllText);
BENCHMARK(BM_ExtractPatternRest);
BENCHMARK(BM_ExtractPatternMessage);
BENCHMARK(BM_GetParam)->Arg(1)->Arg(17);

} // namespace
} // namespace corvid

BENCHMARK_MAIN();
