// The solve history's figures and texts: averages worked by hand, the stored move texts, the
// export's lines and the statistics report.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/solve_stats.h"
#include "model/game_state.h"

namespace korvane {
namespace {

// Every expectation worked by hand: drop one best and one worst of the window, average the rest.
// Name, values, window, the current and the best average.
const std::tuple<const char*, std::vector<int>, int, std::optional<double>, std::optional<double>>
    kAverages[] = {
        {"fewer than five", {1, 2, 3, 4}, 5, std::nullopt, std::nullopt},
        {"best and worst dropped", {3, 1, 2, 5, 4}, 5, 3.0, 3.0},
        // One 2 and one 9 go; 2 + 2 + 9 stay.
        {"ties drop only one each", {2, 9, 2, 9, 2}, 5, 13.0 / 3, 13.0 / 3},
        // Windows: (10 12 8 15 11) -> 11, (12 8 15 11 9) -> 32/3, (8 15 11 9 30) -> 35/3.
        {"best is not the last", {10, 12, 8, 15, 11, 9, 30}, 5, 35.0 / 3, 32.0 / 3},
        // 166 in all, less 1 and 100, over ten.
        {"of twelve", {5, 7, 3, 100, 6, 4, 8, 2, 9, 10, 11, 1}, 12, 6.5, 6.5},
        {"eleven of twelve", {5, 7, 3, 100, 6, 4, 8, 2, 9, 10, 11}, 12, std::nullopt, std::nullopt},
};

void expectNear(std::optional<double> actual, std::optional<double> expected, const char* what) {
    EXPECT_EQ(actual.has_value(), expected.has_value()) << what;
    EXPECT_NEAR(actual.value_or(-1), expected.value_or(-1), 1e-9) << what;
}

TEST(SolveStats, AveragesDropTheBestAndWorstOfEachWindow) {
    for (const auto& [name, values, n, current, best] : kAverages) {
        SCOPED_TRACE(name);
        expectNear(currentAverage(values, n), current, "current");
        expectNear(bestAverage(values, n), best, "best");
        const auto running = runningAverage(values, n);
        ASSERT_EQ(running.size(), values.size());
        expectNear(running.back(), current, "running, last");
        for (int i = 0; i + 1 < n && i < static_cast<int>(running.size()); ++i)
            EXPECT_FALSE(running[i].has_value()) << i;
    }
    expectNear(runningAverage(std::vector<int>{10, 12, 8, 15, 11, 9, 30}, 5)[5], 32.0 / 3, "[5]");
}

// Abandoned games are counted apart and never make a best or enter an average.
TEST(SolveStats, OnlyFinishedGamesCount) {
    std::vector<SolveSummary> games;
    const int seconds[] = {40, 30, 1, 50, 20, 60};
    for (int i = 0; i < 6; ++i)
        games.push_back({i + 1, 1000 * i, 100 + i, seconds[i], false, i == 2});
    // Time ao5: 40 30 50 20 60 less 20 and 60; moves ao5: 100 101 103 104 105 less 100 and 105.
    EXPECT_EQ(statsReport({kCube, 3}, solveStats(games)),
              "Cube Level 3: 5 solves, 1 abandoned\n"
              "  time (s): best 20, mean 40.0, ao5 40.0, best ao5 40.0, ao12 -, best ao12 -\n"
              "  moves: best 100, mean 102.6, ao5 102.7, best ao5 102.7, ao12 -, best ao12 -\n");
    EXPECT_EQ(statsReport({kPiracube, 2}, solveStats({})),
              "Piracube: 0 solves, 0 abandoned\n"
              "  time (s): best -, mean -, ao5 -, best ao5 -, ao12 -, best ao12 -\n"
              "  moves: best -, mean -, ao5 -, best ao5 -, ao12 -, best ao12 -\n");
}

// Many solves are drawn as runs, whose means keep the series' level (the statistics window's
// test draws a few one by one).
TEST(SolveStats, ChartSeriesStaysSmall) {
    // Runs of 1, 2: (1) and (2 3); the missing value leaves its run out.
    const std::vector<std::optional<double>> few = {std::nullopt, 4.0, 6.0};
    EXPECT_EQ(chartSeries(few, 2), (std::vector<ChartPoint>{{2.5, 5}}));
    std::vector<std::optional<double>> many;
    for (int i = 0; i < 100000; ++i)
        many.push_back(i % 2 ? 10.0 : 20.0);
    const std::vector<ChartPoint> points = chartSeries(many, 500);
    ASSERT_EQ(points.size(), 500u);
    EXPECT_DOUBLE_EQ(points.front().x, 100.5);
    EXPECT_DOUBLE_EQ(points.back().x, 99900.5);
    EXPECT_TRUE(std::ranges::all_of(points, [](ChartPoint p) { return p.y == 15.0; }));
}

// The stored texts read back as the same moves; a text with any part that is not a move is
// refused whole.
TEST(SolveHistoryText, MovesRoundTripAndGarbageIsRefused) {
    const std::vector<Move> scramble = {Move::axisTurn(1, 0, 1), Move::cornerTurn(5, -1)};
    EXPECT_EQ(scrambleText(scramble), "A1L0+ C5-");
    EXPECT_EQ(parseScramble("A1L0+ C5-"), scramble);
    EXPECT_EQ(parseScramble(""), std::vector<Move>{});
    const std::vector<TimedMove> log = {{Move::axisTurn(3, 2, -1), 850},
                                        {Move::cornerTurn(0, 1), 123456789012}};
    EXPECT_EQ(moveLogText(log), "A3L2-@850 C0+@123456789012");
    EXPECT_EQ(parseMoveLog(moveLogText(log)), log);
    for (const char* bad :
         {"A1L0+", "A1L0+@", "A1L0+@-5", "A1L0+@5x", "A1L0+@1  C1+@2", "X@1", "A1L0+@1 "})
        EXPECT_FALSE(parseMoveLog(bad).has_value()) << bad;
    EXPECT_FALSE(parseScramble("A1L0+ junk").has_value());
}

// Export times in UTC to the millisecond, before 1970 and on a leap day too; the columns, and a
// game's line ending with its par, empty where unknown.
TEST(SolveHistoryText, ExportTimesAndPar) {
    EXPECT_EQ(utcText(-1), "1969-12-31T23:59:59.999Z");
    EXPECT_EQ(utcText(951782400000), "2000-02-29T00:00:00.000Z");
    // id, puzzle, end, moves, seconds, undo used, abandoned, par, scramble, move log
    SolveRecord s{7, {kTetrahedron, 2}, 1796562855123, 2, 3, true, false, 5, {}, {}};
    s.scramble = {Move::axisTurn(1, 0, 1)};
    s.moveLog = {{Move::axisTurn(1, 0, -1), 1500}, {Move::axisTurn(2, 1, 1), 2999}};
    EXPECT_EQ(
        csvHeader() + "\n" + csvLine(s),
        "id,kind,level,puzzle,ended_utc,moves,seconds,undo_used,abandoned,scramble,move_log,par\n"
        "7,2,2,Tetra Level 2,2026-12-06T13:14:15.123Z,2,3,1,0,A1L0+,A1L0-@1500 A2L1+@2999,5");
    s.par = -1;
    EXPECT_TRUE(csvLine(s).ends_with("@2999,"));
}

} // namespace
} // namespace korvane
