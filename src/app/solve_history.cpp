#include "app/solve_history.h"

#include <algorithm>
#include <charconv>

#include "app/highscores.h"
#include "model/game_state.h"

namespace korvane {

namespace {

// The puzzle of each highscore table, in table order; the Piracube is always built at level 2.
constexpr PuzzleId kTablePuzzles[kHighscoreTables] = {
    {kCube, 1},        {kCube, 2},        {kCube, 3},        {kCube, 4},     {kTetrahedron, 1},
    {kTetrahedron, 2}, {kTetrahedron, 3}, {kTetrahedron, 4}, {kPiracube, 2},
};

// Calls part for each space-separated part of a non-empty text (an empty text has none); false
// as soon as one answers false. Doubled, leading or trailing spaces make empty parts.
template <typename Part> bool forEachPart(std::string_view text, Part part) {
    if (text.empty()) {
        return true;
    }
    for (std::size_t pos = 0;;) {
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        if (!part(text.substr(pos, end - pos))) {
            return false;
        }
        if (end == text.size()) {
            return true;
        }
        pos = end + 1;
    }
}

} // namespace

std::optional<PuzzleId> tablePuzzle(int table) {
    if (table < 0 || table >= kHighscoreTables) {
        return std::nullopt;
    }
    return kTablePuzzles[table];
}

std::string puzzleTitle(PuzzleId puzzle) {
    switch (puzzle.kind) {
    case kCube:
        return "Cube Level " + std::to_string(puzzle.level);
    case kTetrahedron:
        return "Tetra Level " + std::to_string(puzzle.level);
    case kPiracube:
        return "Piracube";
    case kSphere:
        return "Sphere";
    default:
        return "Kind " + std::to_string(puzzle.kind) + " Level " + std::to_string(puzzle.level);
    }
}

std::string scrambleText(const std::vector<Move>& scramble) {
    std::string text;
    for (const Move& move : scramble) {
        text += (text.empty() ? "" : " ") + moveText(move);
    }
    return text;
}

std::string moveLogText(const std::vector<TimedMove>& log) {
    std::string text;
    for (const TimedMove& timed : log) {
        text += (text.empty() ? "" : " ") + moveText(timed.move) + "@" + std::to_string(timed.ms);
    }
    return text;
}

std::optional<std::vector<Move>> parseScramble(std::string_view text) {
    std::vector<Move> moves;
    const bool ok = forEachPart(text, [&](std::string_view part) {
        const std::optional<Move> move = parseMove(part);
        if (move) {
            moves.push_back(*move);
        }
        return move.has_value();
    });
    return ok ? std::optional(std::move(moves)) : std::nullopt;
}

std::optional<std::vector<TimedMove>> parseMoveLog(std::string_view text) {
    std::vector<TimedMove> log;
    const bool ok = forEachPart(text, [&](std::string_view part) {
        const std::size_t at = part.find('@');
        if (at == std::string_view::npos) {
            return false;
        }
        const std::optional<Move> move = parseMove(part.substr(0, at));
        std::int64_t ms = -1;
        const char* end = part.data() + part.size();
        const auto [stop, error] = std::from_chars(part.data() + at + 1, end, ms);
        if (!move || error != std::errc() || stop != end || ms < 0) {
            return false;
        }
        log.push_back({*move, ms});
        return true;
    });
    return ok ? std::optional(std::move(log)) : std::nullopt;
}

} // namespace korvane
