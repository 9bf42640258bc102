#include "model/puzzle_kind.h"

#include <climits>

#include "model/puzzle_build.h"
#include "model/turns.h"

namespace korvane {

namespace {

void permuteCube(Puzzle& p, const Move& m) {
    permuteCubeColours(p, m.axis, m.layer, m.dir);
}
void permuteTetrahedron(Puzzle& p, const Move& m) {
    permuteTetrahedronColours(p, m.axis, m.layer, m.dir);
}
void permutePiracube(Puzzle& p, const Move& m) {
    permutePiracubeColours(p, m.corner(), m.dir);
}
void permuteNothing(Puzzle&, const Move&) {}

// Cube axes 1..3 run along the normals of faces 0, 2, 4 (z, y, x in the puzzle's own frame),
// tetrahedron axes 1..4 along normals 2, 3, 1, 0.
constexpr PuzzleKind kKinds[] = {
    {kCube,
     kFaces,
     false,
     1,
     kMaxCubeSize,
     kCubeTurnFrames,
     kQuarterTurn,
     3,
     false,
     {-1, 0, 2, 4, -1},
     0,
     4,
     buildCube,
     permuteCube},
    {kTetrahedron,
     4,
     true,
     1,
     kMaxTetraSize,
     kTetraTurnFrames,
     kThirdTurn,
     4,
     false,
     {-1, 2, 3, 1, 0},
     4,
     4,
     buildTetrahedron,
     permuteTetrahedron},
    {kPiracube,
     kFaces,
     false,
     3,
     3,
     kPiracubeTurnFrames,
     kThirdTurn,
     0,
     true,
     {-1, -1, -1, -1, -1},
     8,
     0,
     buildPiracube,
     permutePiracube},
    {kSphere,
     0,
     false,
     INT_MIN,
     INT_MAX,
     kPiracubeTurnFrames,
     0.0,
     0,
     false,
     {-1, -1, -1, -1, -1},
     -1,
     0,
     buildSphere,
     permuteNothing},
};

} // namespace

const PuzzleKind* puzzleKind(int type) {
    for (const PuzzleKind& kind : kKinds) {
        if (kind.type == type) {
            return &kind;
        }
    }
    return nullptr;
}

bool moveFits(const Puzzle& puzzle, const Move& move) {
    const PuzzleKind* kind = puzzleKind(puzzle.puzzleType);
    if (kind == nullptr || (move.dir != 1 && move.dir != -1)) {
        return false;
    }
    switch (move.kind) {
    case Move::Kind::Axis:
        return move.axis >= 1 && move.axis <= kind->turnAxes && move.layer >= 0 &&
               move.layer <= sizeLevel(puzzle);
    case Move::Kind::Corner:
        return kind->cornerTurns && move.corner() >= 0 && move.corner() < kCorners;
    case Move::Kind::None:
        break;
    }
    return false;
}

} // namespace korvane
