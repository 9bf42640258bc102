// Distance tables: each build from nothing, its image read back, and the lookups a game makes
// (the par of a position, the hint's best move). Peak memory per build: run one build alone,
// e.g. --benchmark_filter='Build/2', and read the "peak_MiB" counter (the process's peak).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>
#include <random>
#include <vector>

#include "model/distance_table.h"
#include "model/puzzle_build.h"
#include "model/puzzle_model.h"
#include "model/turns.h"

namespace {

using namespace korvane;

double peakMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

const DistanceTable& shared(TableKind kind) {
    static std::unique_ptr<DistanceTable> built[std::size(kTableKinds)];
    auto& t = built[static_cast<int>(kind)];
    if (!t) {
        t = std::make_unique<DistanceTable>(DistanceTable::build(kind));
    }
    return *t;
}

void Build(benchmark::State& state) {
    const auto kind = static_cast<TableKind>(state.range(0));
    for (auto _ : state) {
        DistanceTable t = DistanceTable::build(kind);
        benchmark::DoNotOptimize(t.histogram().data());
        state.counters["positions"] = static_cast<double>(t.positions());
        state.counters["greatest"] = static_cast<double>(t.histogram().size() - 1);
    }
    state.counters["peak_MiB"] = peakMiB();
}
BENCHMARK(Build)->DenseRange(0, 3)->Iterations(1)->Unit(benchmark::kMillisecond);

void ReadImage(benchmark::State& state) {
    const auto kind = static_cast<TableKind>(state.range(0));
    const std::vector<std::uint8_t> image = shared(kind).serialize();
    for (auto _ : state) {
        std::optional<DistanceTable> t = DistanceTable::deserialize(kind, image);
        benchmark::DoNotOptimize(t.has_value());
    }
    state.counters["image_MiB"] = static_cast<double>(image.size()) / (1024.0 * 1024.0);
}
BENCHMARK(ReadImage)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Random positions 25 turns from solved, read from a built Puzzle as the game would.
template <bool Hint> void Lookup(benchmark::State& state) {
    const auto kind = static_cast<TableKind>(state.range(0));
    const DistanceTable& t = shared(kind);
    std::mt19937 rng(1);
    std::vector<std::unique_ptr<Puzzle>> positions;
    for (int i = 0; i < 64; ++i) {
        auto g = std::make_unique<Puzzle>();
        buildPuzzleState(*g, t.model().puzzleType, t.model().level);
        for (int k = 0; k < 25; ++k) {
            applyMove(*g, t.model().moves[rng() % t.model().moves.size()]);
        }
        positions.push_back(std::move(g));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const Puzzle& g = *positions[i++ % positions.size()];
        if constexpr (Hint) {
            benchmark::DoNotOptimize(t.bestMove(g));
        } else {
            benchmark::DoNotOptimize(t.distance(g));
        }
    }
}
BENCHMARK(Lookup<false>)->Name("Distance")->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(Lookup<true>)->Name("BestMove")->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
