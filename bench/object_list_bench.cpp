// Appending to an object list with a fixed growth step stays linear: a million items with
// Delta 100 cost about what they cost with geometric growth, while Capacity still follows the
// step the list was given.

#include "foundation/object_list.h"

#include <benchmark/benchmark.h>

namespace {

struct Item {
    int Value;
};

void BM_AppendWithDelta(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int delta = static_cast<int>(state.range(1));
    for (auto _ : state) {
        corvid::TObjectList<Item> list;
        list.Delta = delta;
        for (int index = 0; index < count; ++index)
            list.Add(new Item{index});
        benchmark::DoNotOptimize(list.Capacity());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

BENCHMARK(BM_AppendWithDelta)
    ->Args({100'000, 100})
    ->Args({1'000'000, 100})
    ->Args({1'000'000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_SortNames(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        corvid::TObjectList<Item> list;
        for (int index = 0; index < count; ++index)
            list.Add(new Item{static_cast<int>((index * 2654435761u) % 1000003)});
        list.OnCompare = [](Item* a, Item* b) {
            return a->Value < b->Value ? -1 : a->Value > b->Value;
        };
        state.ResumeTiming();
        list.Sort();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

BENCHMARK(BM_SortNames)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
