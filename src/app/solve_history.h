#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/move.h"

namespace korvane {

// A puzzle as the history files it: kind (1 cube, 2 tetrahedron, 3 Piracube, 4 sphere) and
// level, as the game's "Figura" and "Nivel".
struct PuzzleId {
    int kind = 0;
    int level = 0;
    friend constexpr bool operator==(const PuzzleId&, const PuzzleId&) = default;
};

// The puzzle of highscore table 0..8 (cube 1..4, tetrahedron 1..4, Piracube), or nothing.
std::optional<PuzzleId> tablePuzzle(int table);
// A puzzle's name in the game's words ("Cube Level 3", "Piracube").
std::string puzzleTitle(PuzzleId puzzle);

// One move of a game and when it was made, in milliseconds since the clock started.
struct TimedMove {
    Move move;
    std::int64_t ms = 0;
    friend bool operator==(const TimedMove&, const TimedMove&) = default;
};

// One timed game as the history keeps it. The game fills it at the end of a game from its
// scramble and its move history; id is the store's (0 until stored). An abandoned game keeps
// the moves made so far and the seconds it ran.
struct SolveRecord {
    std::int64_t id = 0;
    PuzzleId puzzle;
    std::int64_t endedUtcMs = 0; // Unix time in milliseconds, UTC
    int moves = 0;               // the move counter as the game showed it at the end
    int seconds = 0;             // the clock as the game showed it at the end
    bool undoUsed = false;
    bool abandoned = false;
    int par = -1; // the fewest moves the scramble needed; -1 where not known
    std::vector<Move> scramble;
    std::vector<TimedMove> moveLog;
    friend bool operator==(const SolveRecord&, const SolveRecord&) = default;
};

// What the statistics and the list need of a game: no moves.
struct SolveSummary {
    std::int64_t id = 0;
    std::int64_t endedUtcMs = 0;
    int moves = 0;
    int seconds = 0;
    bool undoUsed = false;
    bool abandoned = false;
    int par = -1;
};

// Every timed game the player finished or abandoned, kept across runs and shared by every
// running copy of the game. Writes are whole games: a game is stored completely or not at all.
// A write or read that fails answers false or nothing and leaves a notice for the player.
class SolveHistory {
public:
    virtual ~SolveHistory() = default;

    // Store one game; its id is assigned by the store. False when it could not be kept.
    virtual bool record(const SolveRecord& solve) = 0;
    // The games of one puzzle, oldest first (by end time, then id).
    virtual std::vector<SolveSummary> summaries(PuzzleId puzzle) = 0;
    // One whole game (for a replay), or nothing when no game has that id.
    virtual std::optional<SolveRecord> find(std::int64_t id) = 0;
    // Every game of every puzzle, oldest first, one at a time (for export).
    virtual bool forEach(const std::function<void(const SolveRecord&)>& visit) = 0;
    // The puzzles that have games, in kind and level order.
    virtual std::vector<PuzzleId> puzzles() = 0;
    // Forget one game / every game of a puzzle. False when the store could not be changed.
    virtual bool remove(std::int64_t id) = 0;
    virtual bool clear(PuzzleId puzzle) = 0;

    // A message for the player about the last trouble (a damaged file set aside, a write that
    // failed), once: it is empty afterwards until the next trouble.
    virtual std::string takeNotice() = 0;
};

// The stored text of a scramble: move texts separated by single spaces ("A1L0+ A2L1-").
std::string scrambleText(const std::vector<Move>& scramble);
// The stored text of a move log: "<move>@<ms>" separated by single spaces ("A1L0+@850").
std::string moveLogText(const std::vector<TimedMove>& log);
// The moves of a stored text, or nothing when any part is not a move (or a time).
std::optional<std::vector<Move>> parseScramble(std::string_view text);
std::optional<std::vector<TimedMove>> parseMoveLog(std::string_view text);

} // namespace korvane
