#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"
#include "model/move.h"

namespace korvane {

// A timed game kept over a quit, as the next start needs it to go on. The stickers are never
// kept as such: they are rebuilt by playing the scramble and the moves on a fresh puzzle, so a
// kept game cannot hold a colouring the puzzle cannot reach; a check sum of that colouring,
// taken when the game was kept, must match the rebuilt one.
struct KeptGame {
    int puzzleType = 0;
    int level = 0;
    std::vector<Move> scramble;
    std::vector<Move> moves;
    bool canUndo = false; // the last move may be taken back
    // The view: the puzzle's turn from its standard orientation (a rotation, rows of a 3 x 3
    // matrix) and the zoom.
    double orientation[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double zoom = 1.2;
    int elapsedSeconds = 0;
    std::uint64_t stickerSum = 0; // of the colouring the scramble and the moves give
};

// The kept game of a puzzle in the middle of a timed game: geometry at rest (no turn under
// way), colours as they are.
KeptGame keepGame(const Puzzle& puzzle, const GameRecord& record, const View& view,
                  int elapsedSeconds);

// The stored text: a first line naming the form and its version, then one "name value" line
// per field.
std::string formatKeptGame(const KeptGame& game);

// The kept game a text holds, or why it holds none (a damaged text, another version, a game that
// does not fit its puzzle).
struct KeptGameReading {
    std::optional<KeptGame> game;
    std::string problem;
};
KeptGameReading parseKeptGame(std::string_view text);

// The kept game laid onto a puzzle and a view: the puzzle built afresh, the scramble and the
// moves played on it, turned to the kept orientation. Returns why it cannot be (a move the
// puzzle has no turn for, another colouring than the one kept), puzzle and view unchanged then;
// empty on success.
std::string restoreKeptGame(const KeptGame& game, Puzzle& puzzle, View& view);

} // namespace korvane
