#include "model/game_rules.h"

#include <algorithm>

#include "model/puzzle_build.h"

namespace korvane {

namespace {

int directionOf(int dirChoice) {
    return dirChoice == 2 ? -1 : 1;
}

// Cube and tetrahedron: axis, direction choice and layer drawn in that order; a turn straight
// after one on the same layer index with the other direction choice is drawn again, whatever
// the axes.
int planAxisTurns(int axes, int n, RuntimeRandom& rng, ScrambleTurn out[kScrambleTurns]) {
    int lastLayer = -1;
    int lastChoice = 0;
    for (int accepted = 0; accepted < kScrambleTurns;) {
        const int op = rng.rand() % axes + 1;
        const int dirChoice = rng.rand() % 2 + 1;
        const int layer = rng.rand() % (n + 1);
        if (layer == lastLayer && dirChoice != lastChoice) {
            continue;
        }
        out[accepted++] = {op, directionOf(dirChoice), layer, -1};
        lastLayer = layer;
        lastChoice = dirChoice;
    }
    return kScrambleTurns;
}

// Piracube: a corner, drawn again while it is the previous one; only then the direction.
int planCornerTurns(RuntimeRandom& rng, ScrambleTurn out[kScrambleTurns]) {
    int lastCorner = -1;
    for (int accepted = 0; accepted < kScrambleTurns;) {
        const int corner = rng.rand() % kCorners;
        if (corner == lastCorner) {
            continue;
        }
        const int dirChoice = rng.rand() % 2 + 1;
        out[accepted++] = {5, directionOf(dirChoice), 0, corner};
        lastCorner = corner;
    }
    return kScrambleTurns;
}

// Face f of size n: square faces hold rows a = 0..n of n + 1 cells, triangular faces rows of
// 2(n - a) + 1 entries.
bool faceOneColour(const GameState& g, int f, int n, bool triangular) {
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

int planScramble(int puzzleType, int level, RuntimeRandom& rng, ScrambleTurn out[kScrambleTurns]) {
    switch (puzzleType) {
    case kCube:
        return planAxisTurns(3, buildLevel(kCube, level), rng, out);
    case kTetrahedron:
        return planAxisTurns(4, buildLevel(kTetrahedron, level), rng, out);
    case kPiracube:
        return planCornerTurns(rng, out);
    default:
        return 0;
    }
}

bool isSolved(const GameState& g) {
    const bool triangular = g.puzzleType == kTetrahedron;
    const bool square = g.puzzleType == kCube || g.puzzleType == kPiracube;
    const int faces = triangular ? 4 : (square ? kFaces : 0);
    const int n = std::clamp(sizeLevel(g), 0, triangular ? kMaxTetraSize : kMaxCubeSize);
    for (int f = 0; f < faces; ++f) {
        if (!faceOneColour(g, f, n, triangular)) {
            return false;
        }
    }
    return true;
}

int highscoreTable(int puzzleType, double size) {
    const int n = static_cast<int>(size);
    if (puzzleType == kPiracube) {
        return 8;
    }
    if (n < 1 || n > 4) {
        return -1;
    }
    if (puzzleType == kCube) {
        return n - 1;
    }
    if (puzzleType == kTetrahedron) {
        return n + 3;
    }
    return -1;
}

} // namespace korvane
