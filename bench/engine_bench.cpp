// Engine timings. BM_RawDraws20000 is the floor for a reset: the same 20000 values with
// nothing done to them.

#include "call_deck.h"
#include "draws.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

// Through the interface, as the deck draws: the floor holds the same call per value.
void BM_RawDraws20000(benchmark::State& state) {
    bingo::PcgSource pcg;
    bingo::RandomSource* source = &pcg;
    benchmark::DoNotOptimize(source);
    for (auto _ : state) {
        for (int i = 0; i < 2 * bingo::kSwapSteps; ++i) {
            benchmark::DoNotOptimize(source->Next());
        }
    }
}
BENCHMARK(BM_RawDraws20000);

void BM_ResetDeck(benchmark::State& state) {
    bingo::PcgSource source;
    bingo::CallDeck deck(source);
    for (auto _ : state) {
        deck.ResetDeck();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ResetDeck);

void BM_RollFace(benchmark::State& state) {
    bingo::PcgSource source;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bingo::RollFace(source));
    }
}
BENCHMARK(BM_RollFace);

// The 75 calls of a game, timed by hand so that dealing the deck again stays out of the
// figure; a fixed count of games keeps those untimed deals from taking minutes.
void BM_CallNext(benchmark::State& state) {
    bingo::PcgSource source;
    bingo::CallDeck deck(source);
    for (auto _ : state) {
        deck.ResetDeck();
        const auto start = std::chrono::steady_clock::now();
        for (int call = 0; call < bingo::kBallCount; ++call) {
            benchmark::DoNotOptimize(deck.CallNext());
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count() / bingo::kBallCount);
    }
}
BENCHMARK(BM_CallNext)->UseManualTime()->Iterations(20000);

} // namespace

BENCHMARK_MAIN();
