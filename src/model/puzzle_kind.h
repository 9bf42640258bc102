#pragma once

#include "model/game_state.h"
#include "model/move.h"

namespace korvane {

// Frames a turn's animation shows past its first, and the angle the turning part sweeps.
inline constexpr int kCubeTurnFrames = 5;
inline constexpr int kTetraTurnFrames = 6;
inline constexpr int kPiracubeTurnFrames = 10;
inline constexpr double kQuarterTurn = 90.0;
inline constexpr double kThirdTurn = 120.0;

// What the model knows of one puzzle kind: its build, its turns and their animation, its
// solved test and highscore table. The drawing (render/) and the strokes (input/) of a kind
// sit in their own per-kind tables; nothing else branches on the kind.
struct PuzzleKind {
    int type;
    int colourFaces; // faces that carry stickers; 0 for the sphere
    bool triangular; // face rows of 2(N - a) + 1 triangles, else of N + 1 cells
    int minLevel;    // the levels a build clamps to
    int maxLevel;
    int turnFrames;   // a turn shows frames 0..turnFrames (corner turns 1..turnFrames)
    double turnAngle; // degrees of one turn
    int turnAxes;     // axis turns about axes 1..turnAxes; 0 for corner turns or none
    bool cornerTurns; // turns of a half about one of the 8 corners
    // The normal a turn axis runs along, [axis]; layer 0 of the axis holds that face.
    int axisNormal[5];
    int firstTable;  // highscore table of level 1, -1 for none
    int tableLevels; // levels 1..tableLevels have a table each; 0: one table for every level
    void (*build)(Puzzle&);
    void (*permute)(Puzzle&, const Move&);
};

// The kind with this code, or nullptr for a code that names none.
const PuzzleKind* puzzleKind(int type);

// Whether a move names a turn this puzzle has.
bool moveFits(const Puzzle& puzzle, const Move& move);

} // namespace korvane
