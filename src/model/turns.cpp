#include "model/turns.h"

#include <algorithm>
#include <cstring>

#include "model/puzzle_build.h"
#include "model/puzzle_kind.h"

namespace korvane {

namespace {

using Colours = int[kCells][kCells][kFaces];

struct Cell {
    int face;
    int a;
    int b;
};

// A turn in progress: the colours as they were before it, read while the puzzle's are written.
struct ColourMove {
    Puzzle& p;
    Colours saved;
    explicit ColourMove(Puzzle& puzzle) : p(puzzle) {
        std::memcpy(saved, p.stickerColour, sizeof saved);
    }
    // Colour at `from` (as it was before the turn) moves to `to`.
    void operator()(Cell from, Cell to) {
        p.stickerColour[to.a][to.b][to.face] = saved[from.a][from.b][from.face];
    }
};

// ---- Cube ----------------------------------------------------------------------------------

// Where the i-th sticker of a strip of layer L lies on a face: (i, L), (N-i, L), (L, i) or
// (L, N-i).
enum class Strip { IL, NiL, LI, LNi };

Cell stripCell(int face, Strip s, int i, int layer, int n) {
    switch (s) {
    case Strip::IL:
        return {face, i, layer};
    case Strip::NiL:
        return {face, n - i, layer};
    case Strip::LI:
        return {face, layer, i};
    case Strip::LNi:
        break;
    }
    return {face, layer, n - i};
}

struct StripMove {
    int fromFace;
    Strip from;
    int toFace;
    Strip to;
};

// The quarter turn of a cube layer by +90 degrees about axis 1..3 (+z, +y, +x): the four strip
// moves of the side faces, and the end face that turns with layer 0 or layer N, by Q(a, b) =
// (b, N-a) or by its inverse Q'(a, b) = (N-b, a). Every strip position is the source of exactly
// one move and the target of exactly one.
struct CubeAxisTurn {
    StripMove strip[4];
    int endFace[2]; // turning with layer 0, with layer N
    bool byQ;       // end faces move by Q (else by Q') for dir = +1
};

constexpr CubeAxisTurn kCubeTurn[3] = {
    {{{3, Strip::IL, 4, Strip::NiL},
      {5, Strip::IL, 3, Strip::IL},
      {2, Strip::IL, 5, Strip::NiL},
      {4, Strip::IL, 2, Strip::IL}},
     {0, 1},
     true},
    {{{0, Strip::IL, 4, Strip::LI},
      {5, Strip::LI, 0, Strip::NiL},
      {1, Strip::IL, 5, Strip::LI},
      {4, Strip::LI, 1, Strip::NiL}},
     {2, 3},
     false},
    {{{0, Strip::LI, 3, Strip::LI},
      {3, Strip::LI, 1, Strip::LNi},
      {2, Strip::LI, 0, Strip::LNi},
      {1, Strip::LI, 2, Strip::LI}},
     {5, 4},
     false},
};

void turnCubeEndFace(ColourMove& moveColour, int face, bool byQ, int n) {
    for (int a = 0; a <= n; ++a) {
        for (int b = 0; b <= n; ++b) {
            const Cell to = byQ ? Cell{face, b, n - a} : Cell{face, n - b, a};
            moveColour({face, a, b}, to);
        }
    }
}

// ---- Tetrahedron ---------------------------------------------------------------------------

// A triangle position, or its image under the one-third turn R of the face or under R^2.
enum class Tri { Id, R, R2 };

Cell triCell(const Puzzle& g, int face, Tri map, int a, int t) {
    if (map == Tri::Id) {
        return {face, a, t};
    }
    const int* e = g.triIndexTable[a][t / 2];
    const int slot = (t % 2 == 0 ? 0 : 4) + (map == Tri::R ? 2 : 0);
    return {face, e[slot + 1], e[slot]};
}

// The one-third turn of a tetrahedron layer by +120 degrees about axis 1..4: a three-cycle of
// the row-L strips of the three side faces (colour moves from entry k to entry k + 1), each
// strip read through Id, R or R^2; layer 0 also turns the axis's end face by R.
struct TetraAxisTurn {
    int face[3];
    Tri map[3];
    int endFace;
};

constexpr TetraAxisTurn kTetraTurn[4] = {
    {{3, 0, 2}, {Tri::Id, Tri::Id, Tri::Id}, 1},
    {{1, 2, 0}, {Tri::Id, Tri::R2, Tri::R}, 3},
    {{2, 1, 3}, {Tri::R, Tri::R, Tri::R2}, 0},
    {{1, 0, 3}, {Tri::R2, Tri::R2, Tri::R}, 2},
};

void turnTetraEndFace(ColourMove& moveColour, int face, Tri map, int n) {
    for (int a = 0; a <= n; ++a) {
        for (int t = 0; t <= 2 * (n - a); ++t) {
            moveColour({face, a, t}, triCell(moveColour.p, face, map, a, t));
        }
    }
}

// ---- Piracube ------------------------------------------------------------------------------

// The five three-cycles of each corner's half turn by +120 degrees: the colour at each cell
// (face, a, b) moves to the next. The 15 cells of a corner are those its piraMask row marks.
constexpr Cell kPiraCycles[kCorners][5][3] = {
    {{{0, 0, 0}, {2, 0, 0}, {5, 0, 0}},
     {{0, 1, 0}, {2, 1, 0}, {5, 1, 0}},
     {{0, 1, 1}, {2, 2, 1}, {5, 1, 1}},
     {{0, 2, 1}, {2, 1, 1}, {5, 2, 1}},
     {{1, 1, 0}, {3, 1, 0}, {4, 1, 0}}},
    {{{0, 0, 0}, {4, 0, 0}, {2, 0, 0}},
     {{0, 1, 0}, {4, 2, 1}, {2, 2, 0}},
     {{0, 2, 0}, {4, 1, 1}, {2, 1, 0}},
     {{0, 2, 1}, {4, 1, 0}, {2, 2, 1}},
     {{1, 2, 1}, {5, 1, 0}, {3, 2, 1}}},
    {{{0, 0, 0}, {5, 0, 0}, {3, 0, 0}},
     {{0, 1, 0}, {5, 2, 0}, {3, 2, 1}},
     {{0, 1, 1}, {5, 2, 1}, {3, 1, 0}},
     {{0, 2, 0}, {5, 1, 0}, {3, 1, 1}},
     {{1, 1, 1}, {4, 2, 1}, {2, 1, 0}}},
    {{{0, 0, 0}, {3, 0, 0}, {4, 0, 0}},
     {{0, 1, 1}, {3, 2, 0}, {4, 1, 0}},
     {{0, 2, 0}, {3, 2, 1}, {4, 2, 1}},
     {{0, 2, 1}, {3, 1, 0}, {4, 2, 0}},
     {{1, 2, 0}, {2, 2, 1}, {5, 2, 1}}},
    {{{1, 0, 0}, {5, 0, 0}, {2, 0, 0}},
     {{0, 1, 0}, {4, 1, 1}, {3, 1, 1}},
     {{1, 1, 0}, {5, 1, 1}, {2, 1, 1}},
     {{1, 1, 1}, {5, 1, 0}, {2, 2, 0}},
     {{1, 2, 1}, {5, 2, 0}, {2, 1, 0}}},
    {{{1, 0, 0}, {2, 0, 0}, {4, 0, 0}},
     {{0, 2, 1}, {3, 2, 0}, {5, 1, 1}},
     {{1, 1, 0}, {2, 2, 1}, {4, 2, 0}},
     {{1, 2, 0}, {2, 1, 1}, {4, 1, 0}},
     {{1, 2, 1}, {2, 2, 0}, {4, 1, 1}}},
    {{{1, 0, 0}, {3, 0, 0}, {5, 0, 0}},
     {{0, 1, 1}, {2, 1, 1}, {4, 2, 0}},
     {{1, 1, 0}, {3, 2, 0}, {5, 2, 1}},
     {{1, 1, 1}, {3, 1, 1}, {5, 2, 0}},
     {{1, 2, 0}, {3, 1, 0}, {5, 1, 1}}},
    {{{1, 0, 0}, {4, 0, 0}, {3, 0, 0}},
     {{0, 2, 0}, {5, 2, 0}, {2, 2, 0}},
     {{1, 1, 1}, {4, 1, 1}, {3, 2, 1}},
     {{1, 2, 0}, {4, 2, 0}, {3, 2, 0}},
     {{1, 2, 1}, {4, 2, 1}, {3, 1, 1}}},
};

void turnPiracubeOnce(Puzzle& g, int corner) {
    ColourMove moveColour(g);
    for (const auto& cycle : kPiraCycles[corner]) {
        for (int k = 0; k < 3; ++k) {
            moveColour(cycle[k], cycle[(k + 1) % 3]);
        }
    }
}

} // namespace

void permuteCubeColours(Puzzle& g, int axis, int layer, int dir) {
    const int n = std::clamp(sizeLevel(g), 0, kMaxCubeSize);
    if (axis < 1 || axis > 3 || layer < 0 || layer > n) {
        return;
    }
    ColourMove moveColour(g);
    const CubeAxisTurn& turn = kCubeTurn[axis - 1];
    for (const StripMove& m : turn.strip) {
        for (int i = 0; i <= n; ++i) {
            const Cell x = stripCell(m.fromFace, m.from, i, layer, n);
            const Cell y = stripCell(m.toFace, m.to, i, layer, n);
            dir < 0 ? moveColour(y, x) : moveColour(x, y);
        }
    }
    if (layer == 0 || layer == n) {
        // Q' is the inverse of Q, so the other direction uses the other map.
        turnCubeEndFace(moveColour, turn.endFace[layer == 0 ? 0 : 1], turn.byQ == (dir >= 0), n);
    }
}

void permuteTetrahedronColours(Puzzle& g, int axis, int layer, int dir) {
    const int n = std::clamp(sizeLevel(g), 0, kMaxTetraSize);
    if (axis < 1 || axis > 4 || layer < 0 || layer > n) {
        return;
    }
    ColourMove moveColour(g);
    const TetraAxisTurn& turn = kTetraTurn[axis - 1];
    for (int t = 0; t <= 2 * (n - layer); ++t) {
        for (int k = 0; k < 3; ++k) {
            const int next = (k + 1) % 3;
            const Cell x = triCell(g, turn.face[k], turn.map[k], layer, t);
            const Cell y = triCell(g, turn.face[next], turn.map[next], layer, t);
            dir < 0 ? moveColour(y, x) : moveColour(x, y);
        }
    }
    if (layer == 0) {
        // R^2 is the inverse of R.
        turnTetraEndFace(moveColour, turn.endFace, dir < 0 ? Tri::R2 : Tri::R, n);
    }
}

void permutePiracubeColours(Puzzle& g, int corner, int dir) {
    if (corner < 0 || corner >= kCorners) {
        return;
    }
    turnPiracubeOnce(g, corner);
    if (dir < 0) {
        turnPiracubeOnce(g, corner);
    }
}

void applyMove(Puzzle& puzzle, const Move& move) {
    if (moveFits(puzzle, move)) {
        puzzleKind(puzzle.puzzleType)->permute(puzzle, move);
    }
}

void applyInverse(Puzzle& puzzle, const Move& move) {
    applyMove(puzzle, move.inverse());
}

} // namespace korvane
