// The solve history at scale: a store of 100,000 games of one puzzle (the worst case for its
// statistics), kept between runs in the build folder. Opening the store, reading a puzzle's
// games, opening the statistics window to its first full paint, and redrawing its chart; and
// storing one game.
#include <QChartView>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

#include "app/solve_stats.h"
#include "bench_main.h"
#include "platform/qt/sql_solve_history.h"
#include "platform/qt/statistics_dialog.h"

namespace {

using namespace korvane;

constexpr int kGames = 100000;
constexpr PuzzleId kPuzzle{1, 3}; // table 2
const QString kStore = QDir::current().filePath(QStringLiteral("bench-history.sqlite"));

// A game of the size a real one has: 19 scramble turns, 60 timed moves.
SolveRecord benchGame(int i) {
    SolveRecord s;
    s.puzzle = kPuzzle;
    s.endedUtcMs = 1800000000000 + std::int64_t(i) * 90000;
    s.seconds = 30 + static_cast<int>((std::int64_t(i) * 7919) % 90);
    s.moves = 40 + static_cast<int>((std::int64_t(i) * 104729) % 60);
    s.undoUsed = i % 11 == 0;
    s.abandoned = i % 50 == 0;
    for (int t = 0; t < 19; ++t) {
        s.scramble.push_back(Move::axisTurn(1 + t % 3, t % 4, t % 2 ? 1 : -1));
    }
    for (int t = 0; t < 60; ++t) {
        s.moveLog.push_back({Move::axisTurn(1 + t % 3, t % 4, 1), 500 * t});
    }
    return s;
}

// The store, filled once; later runs reuse it when it holds the full count.
qt::SqlSolveHistory& store() {
    static qt::SqlSolveHistory history(kStore);
    static const bool filled = [] {
        if (history.summaries(kPuzzle).size() == std::size_t(kGames)) {
            return true;
        }
        history.clear(kPuzzle);
        QElapsedTimer timer;
        timer.start();
        std::vector<SolveRecord> games;
        for (int i = 0; i < kGames; ++i) {
            games.push_back(benchGame(i));
        }
        const bool ok = history.recordAll(games);
        std::fprintf(stderr, "filled %d games in %lld ms (%lld MB)\n", kGames,
                     static_cast<long long>(timer.elapsed()),
                     static_cast<long long>(QFileInfo(kStore).size() >> 20));
        return ok;
    }();
    if (!filled) {
        std::fprintf(stderr, "the store could not be filled\n");
    }
    return history;
}

void BM_OpenStore(benchmark::State& state) {
    store();
    for (auto _ : state) {
        qt::SqlSolveHistory history(kStore);
        benchmark::DoNotOptimize(history.open());
    }
}
BENCHMARK(BM_OpenStore)->Unit(benchmark::kMillisecond);

// One game stored as the game stores it: its own transaction, synced to the disk.
void BM_RecordGame(benchmark::State& state) {
    const QString file = QDir::temp().filePath(QStringLiteral("korvane-bench-record.sqlite"));
    {
        qt::SqlSolveHistory history(file);
        const SolveRecord game = benchGame(1);
        for (auto _ : state) {
            benchmark::DoNotOptimize(history.record(game));
        }
    }
    for (const char* suffix : {"", "-wal", "-shm"}) {
        QFile::remove(file + QLatin1String(suffix));
    }
}
BENCHMARK(BM_RecordGame)->Unit(benchmark::kMillisecond);

void BM_ReadSummaries(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(store().summaries(kPuzzle).size());
    }
}
BENCHMARK(BM_ReadSummaries)->Unit(benchmark::kMillisecond);

void BM_Statistics(benchmark::State& state) {
    const std::vector<SolveSummary> games = store().summaries(kPuzzle);
    for (auto _ : state) {
        benchmark::DoNotOptimize(solveStats(games).time.bestAo12);
    }
}
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);

// From the menu command to the window painted whole, with the store already open as it is in a
// running game.
void BM_OpenStatisticsDialog(benchmark::State& state) {
    store();
    for (auto _ : state) {
        qt::StatisticsDialog dialog(store(), 2);
        dialog.show();
        benchmark::DoNotOptimize(dialog.grab().width());
    }
}
BENCHMARK(BM_OpenStatisticsDialog)->Unit(benchmark::kMillisecond);

void BM_RedrawChart(benchmark::State& state) {
    qt::StatisticsDialog dialog(store(), 2);
    dialog.show();
    for (auto _ : state) {
        dialog.redrawChart();
        benchmark::DoNotOptimize(dialog.chartView()->grab().width());
    }
}
BENCHMARK(BM_RedrawChart)->Unit(benchmark::kMillisecond);

} // namespace

KORVANE_BENCHMARK_MAIN()
