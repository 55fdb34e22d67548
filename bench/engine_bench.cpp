// Engine timings. BM_RawDraws20000 is the floor for a reset: the same 20000 values with
// nothing done to them.

#include "call_deck.h"
#include "draws.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_RawDraws20000(benchmark::State& state) {
    bingo::RandomSource source;
    for (auto _ : state) {
        for (int i = 0; i < 2 * bingo::kSwapSteps; ++i) {
            benchmark::DoNotOptimize(source.Next());
        }
    }
}
BENCHMARK(BM_RawDraws20000);

void BM_ResetDeck(benchmark::State& state) {
    bingo::RandomSource source;
    bingo::CallDeck deck(source);
    for (auto _ : state) {
        deck.ResetDeck();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ResetDeck);

void BM_RollFace(benchmark::State& state) {
    bingo::RandomSource source;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bingo::RollFace(source));
    }
}
BENCHMARK(BM_RollFace);

void BM_CallNext(benchmark::State& state) {
    // Many decks dealt out in turn, so that a rewind (a reset's worth of time) falls only
    // once in a great many calls and can stay out of the timing.
    constexpr int kDecks = 4096;
    bingo::RandomSource source;
    std::vector<bingo::CallDeck> decks;
    decks.reserve(kDecks);
    const auto dealAll = [&] {
        for (auto& deck : decks) {
            deck.ResetDeck();
        }
    };
    for (int i = 0; i < kDecks; ++i) {
        decks.emplace_back(source);
    }
    dealAll();
    std::size_t next = 0;
    int round = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(decks[next].CallNext());
        if (++next == decks.size()) {
            next = 0;
            if (++round == bingo::kBallCount) {
                state.PauseTiming();
                dealAll();
                round = 0;
                state.ResumeTiming();
            }
        }
    }
}
BENCHMARK(BM_CallNext);

} // namespace

BENCHMARK_MAIN();
