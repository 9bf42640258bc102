#include "app/solve_stats.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>

namespace korvane {

namespace {

std::string seriesLine(const char* name, const SeriesFigures& f) {
    return std::string("  ") + name + ": best " + figureText(f.best) + ", mean " +
           figureText(f.mean) + ", ao5 " + figureText(f.ao5) + ", best ao5 " +
           figureText(f.bestAo5) + ", ao12 " + figureText(f.ao12) + ", best ao12 " +
           figureText(f.bestAo12) + "\n";
}

// A CSV field, quoted only when it holds a separator, a quote or a line break.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char ch : text) {
        quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    }
    return quoted + "\"";
}

template <typename Field>
std::vector<int> finished(const std::vector<SolveSummary>& games, Field field) {
    std::vector<int> values;
    values.reserve(games.size());
    for (const SolveSummary& game : games) {
        if (!game.abandoned) {
            values.push_back(game.*field);
        }
    }
    return values;
}

} // namespace

std::string figureText(const std::optional<double>& value) {
    if (!value) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", *value);
    return text;
}

std::string figureText(const std::optional<int>& value) {
    return value ? std::to_string(*value) : "-";
}

std::optional<double> trimmedAverage(std::span<const int> window) {
    if (window.size() < 3) {
        return std::nullopt;
    }
    const auto [low, high] = std::minmax_element(window.begin(), window.end());
    const double sum = std::accumulate(window.begin(), window.end(), 0.0) - *low - *high;
    return sum / static_cast<double>(window.size() - 2);
}

std::optional<double> currentAverage(std::span<const int> values, int n) {
    if (n < 3 || values.size() < static_cast<std::size_t>(n)) {
        return std::nullopt;
    }
    return trimmedAverage(values.last(static_cast<std::size_t>(n)));
}

std::optional<double> bestAverage(std::span<const int> values, int n) {
    std::optional<double> best;
    for (const std::optional<double>& average : runningAverage(values, n)) {
        if (average && (!best || *average < *best)) {
            best = average;
        }
    }
    return best;
}

std::vector<std::optional<double>> runningAverage(std::span<const int> values, int n) {
    std::vector<std::optional<double>> averages(values.size());
    if (n < 3) {
        return averages;
    }
    for (std::size_t end = static_cast<std::size_t>(n); end <= values.size(); ++end) {
        averages[end - 1] = trimmedAverage(values.subspan(end - n, static_cast<std::size_t>(n)));
    }
    return averages;
}

SeriesFigures seriesFigures(std::span<const int> values) {
    SeriesFigures f;
    if (!values.empty()) {
        f.best = *std::min_element(values.begin(), values.end());
        f.mean =
            std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
    }
    f.ao5 = currentAverage(values, 5);
    f.bestAo5 = bestAverage(values, 5);
    f.ao12 = currentAverage(values, 12);
    f.bestAo12 = bestAverage(values, 12);
    return f;
}

std::vector<int> finishedSeconds(const std::vector<SolveSummary>& games) {
    return finished(games, &SolveSummary::seconds);
}

std::vector<int> finishedMoves(const std::vector<SolveSummary>& games) {
    return finished(games, &SolveSummary::moves);
}

std::vector<ChartPoint> chartSeries(std::span<const std::optional<double>> values, int maxPoints) {
    std::vector<ChartPoint> points;
    const std::size_t n = values.size();
    const std::size_t runs = std::min(n, static_cast<std::size_t>(std::max(maxPoints, 1)));
    for (std::size_t run = 0; run < runs; ++run) {
        double xSum = 0;
        double ySum = 0;
        int count = 0;
        for (std::size_t i = run * n / runs; i < (run + 1) * n / runs; ++i) {
            if (values[i]) {
                xSum += static_cast<double>(i + 1);
                ySum += *values[i];
                ++count;
            }
        }
        if (count > 0) {
            points.push_back({xSum / count, ySum / count});
        }
    }
    return points;
}

namespace {

std::optional<double> meanEfficiency(const std::vector<SolveSummary>& games) {
    double sum = 0;
    int count = 0;
    for (const SolveSummary& game : games) {
        if (!game.abandoned && game.par >= 0 && game.moves > 0) {
            sum += 100.0 * game.par / game.moves;
            ++count;
        }
    }
    return count > 0 ? std::optional(sum / count) : std::nullopt;
}

} // namespace

SolveStats solveStats(const std::vector<SolveSummary>& games) {
    SolveStats stats;
    stats.meanEfficiency = meanEfficiency(games);
    const std::vector<int> seconds = finishedSeconds(games);
    stats.solves = static_cast<int>(seconds.size());
    stats.abandoned = static_cast<int>(games.size()) - stats.solves;
    stats.time = seriesFigures(seconds);
    stats.moves = seriesFigures(finishedMoves(games));
    return stats;
}

std::string statsReport(PuzzleId puzzle, const SolveStats& stats) {
    return puzzleTitle(puzzle) + ": " + std::to_string(stats.solves) + " solves, " +
           std::to_string(stats.abandoned) + " abandoned\n" + seriesLine("time (s)", stats.time) +
           seriesLine("moves", stats.moves) +
           (stats.meanEfficiency ? "  efficiency: mean " + figureText(stats.meanEfficiency) + " %\n"
                                 : "");
}

std::string utcText(std::int64_t utcMs) {
    using namespace std::chrono;
    const sys_time<milliseconds> time{milliseconds{utcMs}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss<milliseconds> clock{time - day};
    char text[40];
    std::snprintf(
        text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
        static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text;
}

std::string csvHeader() {
    return "id,kind,level,puzzle,ended_utc,moves,seconds,undo_used,abandoned,scramble,move_log,par";
}

std::string csvLine(const SolveRecord& s) {
    const std::string fields[] = {
        std::to_string(s.id),           std::to_string(s.puzzle.kind),
        std::to_string(s.puzzle.level), puzzleTitle(s.puzzle),
        utcText(s.endedUtcMs),          std::to_string(s.moves),
        std::to_string(s.seconds),      s.undoUsed ? "1" : "0",
        s.abandoned ? "1" : "0",        scrambleText(s.scramble),
        moveLogText(s.moveLog),         s.par >= 0 ? std::to_string(s.par) : ""};
    std::string line;
    for (const std::string& field : fields) {
        line += (line.empty() ? "" : ",") + csvField(field);
    }
    return line;
}

} // namespace korvane
