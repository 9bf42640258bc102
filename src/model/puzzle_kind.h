#pragma once

#include <cstddef>

#include "model/game_state.h"
#include "model/move.h"

namespace korvane {

// Frames a turn's animation shows past its first, and the angle the turning part sweeps.
inline constexpr int kCubeTurnFrames = 5;
inline constexpr int kTetraTurnFrames = 6;
inline constexpr int kPiracubeTurnFrames = 10;
inline constexpr double kQuarterTurn = 90.0;
inline constexpr double kThirdTurn = 120.0;

// What the game knows of one puzzle kind: its build, its turns and their animation, its solved
// test, highscore table and the levels it is offered and stored with. The drawing (render/) and
// the strokes (input/) of a kind sit in one table each there; nothing else branches on the kind.
struct PuzzleKind {
    int puzzleType;
    int colourFaces;  // faces that carry stickers; 0 for the sphere
    bool triangular;  // face rows of 2(N - a) + 1 triangles, else of N + 1 cells
    bool facetPoints; // the geometry is the sphere's facet points, not corners and normals
    bool keepsPen;    // a new puzzle keeps the chosen pen (else it starts with none)
    int minLevel;     // the levels a build clamps to
    int maxLevel;
    int menuLevels; // the Type menu offers levels 1..menuLevels (1: one item, any level)
    // The stored "Nivel" the game starts with: low..high, else `otherwise` (0: the whole stored
    // choice is refused).
    int storedLow;
    int storedHigh;
    int storedOtherwise;
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

// The entry for a kind in a per-kind table (each layer keeps one, with a puzzleType member), or
// nullptr.
template <typename Entry, std::size_t N>
const Entry* entryForKind(const Entry (&table)[N], int puzzleType) {
    for (const Entry& entry : table) {
        if (entry.puzzleType == puzzleType) {
            return &entry;
        }
    }
    return nullptr;
}

// Whether a move names a turn this puzzle has.
bool moveFits(const Puzzle& puzzle, const Move& move);

} // namespace korvane
