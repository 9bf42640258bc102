#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/solve_history.h"

namespace korvane {

// The average of a window of results as timers count it: the best and the worst are dropped
// (one of each, also when several tie) and the rest are averaged. Nothing for fewer than 3.
std::optional<double> trimmedAverage(std::span<const int> window);
// The trimmed average of the last n results; nothing when there are fewer than n.
std::optional<double> currentAverage(std::span<const int> values, int n);
// The lowest trimmed average of any n results in a row; nothing when there are fewer than n.
std::optional<double> bestAverage(std::span<const int> values, int n);
// For each result, the trimmed average of the n results ending with it (nothing for the first
// n - 1).
std::vector<std::optional<double>> runningAverage(std::span<const int> values, int n);

// The figures of one series (times in seconds, or move counts).
struct SeriesFigures {
    std::optional<int> best;
    std::optional<double> mean;
    std::optional<double> ao5, bestAo5, ao12, bestAo12;
};
SeriesFigures seriesFigures(std::span<const int> values);

// The statistics of a puzzle's games. Only finished games count; abandoned ones are counted
// apart and take no part in any figure.
struct SolveStats {
    int solves = 0;
    int abandoned = 0;
    SeriesFigures time;
    SeriesFigures moves;
    // The mean of par / moves, in per cent, over the finished games whose par is known.
    std::optional<double> meanEfficiency;
};
SolveStats solveStats(const std::vector<SolveSummary>& games);

// The seconds and the move counts of the finished games, in the order given.
std::vector<int> finishedSeconds(const std::vector<SolveSummary>& games);
std::vector<int> finishedMoves(const std::vector<SolveSummary>& games);

// A point of a chart over the solves: x the solve's number (1 for the first), y its value.
struct ChartPoint {
    double x;
    double y;
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};
// A series of at most maxPoints points however many solves there are: runs of consecutive
// solves (as even as whole numbers allow) become the mean of their values at the mean of their
// numbers. Solves without a value (the first four of a running average) are left out.
std::vector<ChartPoint> chartSeries(std::span<const std::optional<double>> values, int maxPoints);

// A figure as the statistics show it: one decimal ("41.3"), or "-" when there is none yet.
std::string figureText(const std::optional<double>& value);
std::string figureText(const std::optional<int>& value);

// Three lines for a puzzle: its name and counts, then the time and move figures; a figure
// that cannot be had yet shows as "-". A fourth gives the mean efficiency where there is one.
std::string statsReport(PuzzleId puzzle, const SolveStats& stats);

// A UTC time as ISO 8601 with milliseconds: "2026-12-06T13:14:15.123Z".
std::string utcText(std::int64_t utcMs);

// The export: one header line naming the columns, then one line per game.
std::string csvHeader();
std::string csvLine(const SolveRecord& solve);

} // namespace korvane
