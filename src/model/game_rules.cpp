#include "model/game_rules.h"

#include <algorithm>

#include "model/puzzle_build.h"
#include "model/puzzle_kind.h"

namespace korvane {

namespace {

int directionOf(int dirChoice) {
    return dirChoice == 2 ? -1 : 1;
}

// Cube and tetrahedron: axis, direction choice and layer drawn in that order; a turn straight
// after one on the same layer index with the other direction choice is drawn again, whatever
// the axes.
int planAxisTurns(int axes, int n, RuntimeRandom& rng, Move out[kScrambleTurns]) {
    int lastLayer = -1;
    int lastChoice = 0;
    for (int accepted = 0; accepted < kScrambleTurns;) {
        const int axis = rng.rand() % axes + 1;
        const int dirChoice = rng.rand() % 2 + 1;
        const int layer = rng.rand() % (n + 1);
        if (layer == lastLayer && dirChoice != lastChoice) {
            continue;
        }
        out[accepted++] = Move::axisTurn(axis, layer, directionOf(dirChoice));
        lastLayer = layer;
        lastChoice = dirChoice;
    }
    return kScrambleTurns;
}

// Piracube: a corner, drawn again while it is the previous one; only then the direction.
int planCornerTurns(RuntimeRandom& rng, Move out[kScrambleTurns]) {
    int lastCorner = -1;
    for (int accepted = 0; accepted < kScrambleTurns;) {
        const int corner = rng.rand() % kCorners;
        if (corner == lastCorner) {
            continue;
        }
        const int dirChoice = rng.rand() % 2 + 1;
        out[accepted++] = Move::cornerTurn(corner, directionOf(dirChoice));
        lastCorner = corner;
    }
    return kScrambleTurns;
}

// Face f of size n: square faces hold rows a = 0..n of n + 1 cells, triangular faces rows of
// 2(n - a) + 1 entries.
bool faceOneColour(const Puzzle& g, int f, int n, bool triangular) {
    const int ref = g.stickerColour[0][0][f];
    for (int a = 0; a <= n; ++a) {
        const int rowEnd = triangular ? 2 * (n - a) : n;
        for (int b = 0; b <= rowEnd; ++b) {
            if (g.stickerColour[a][b][f] != ref) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

int planScramble(int puzzleType, int level, RuntimeRandom& rng, Move out[kScrambleTurns]) {
    const PuzzleKind* kind = puzzleKind(puzzleType);
    if (kind == nullptr) {
        return 0;
    }
    if (kind->cornerTurns) {
        return planCornerTurns(rng, out);
    }
    return kind->turnAxes > 0
               ? planAxisTurns(kind->turnAxes, buildLevel(puzzleType, level), rng, out)
               : 0;
}

bool isSolved(const Puzzle& puzzle) {
    const PuzzleKind* kind = puzzleKind(puzzle.puzzleType);
    if (kind == nullptr) {
        return true;
    }
    const int n = std::clamp(sizeLevel(puzzle), 0, kind->triangular ? kMaxTetraSize : kMaxCubeSize);
    for (int f = 0; f < kind->colourFaces; ++f) {
        if (!faceOneColour(puzzle, f, n, kind->triangular)) {
            return false;
        }
    }
    return true;
}

int highscoreTable(int puzzleType, double size) {
    const PuzzleKind* kind = puzzleKind(puzzleType);
    if (kind == nullptr || kind->firstTable < 0) {
        return -1;
    }
    if (kind->tableLevels == 0) {
        return kind->firstTable;
    }
    const int n = static_cast<int>(size);
    return n >= 1 && n <= kind->tableLevels ? kind->firstTable + n - 1 : -1;
}

} // namespace korvane
