// What turns do to each other: a turn and its reverse, a full round of turns, and the cells a
// turn must leave alone.

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/puzzle_build.h"
#include "model/turns.h"
#include "sticker_geometry.h"

namespace korvane {
namespace {

struct LayerTurn {
    int kind;
    int n;
    int axis; // or the Piracube corner
    int layer;
};

struct PuzzleCase {
    int kind;
    int n;
};

// Every layer of a puzzle: each axis and layer, or each Piracube corner.
std::vector<LayerTurn> layersOf(const PuzzleCase& p) {
    std::vector<LayerTurn> out;
    if (p.kind == kPiracube) {
        for (int corner = 0; corner < 8; ++corner) {
            out.push_back({p.kind, p.n, corner, 0});
        }
        return out;
    }
    const int axes = p.kind == kCube ? 3 : 4;
    for (int axis = 1; axis <= axes; ++axis) {
        for (int layer = 0; layer <= p.n; ++layer) {
            out.push_back({p.kind, p.n, axis, layer});
        }
    }
    return out;
}

std::string puzzleName(const ::testing::TestParamInfo<PuzzleCase>& info) {
    return testing::kindName(info.param.kind) + std::to_string(info.param.n);
}

std::string layerName(const LayerTurn& t) {
    return "axis/corner " + std::to_string(t.axis) + " layer " + std::to_string(t.layer);
}

void turn(GameState& g, const LayerTurn& t, int dir) {
    if (t.kind == kCube) {
        permuteCubeColours(g, t.axis, t.layer, dir);
    } else if (t.kind == kTetrahedron) {
        permuteTetrahedronColours(g, t.axis, t.layer, dir);
    } else {
        permutePiracubeColours(g, t.axis, dir);
    }
}

bool sameColours(const GameState& x, const GameState& y) {
    return std::memcmp(x.stickerColour, y.stickerColour, sizeof x.stickerColour) == 0;
}

GameState labelledPuzzle(const LayerTurn& t) {
    GameState g;
    buildPuzzleState(g, t.kind, t.n);
    testing::labelAllCells(g);
    return g;
}

class TurnAlgebra : public ::testing::TestWithParam<PuzzleCase> {};

TEST_P(TurnAlgebra, ReverseUndoesTheTurn) {
    for (const LayerTurn& t : layersOf(GetParam())) {
        SCOPED_TRACE(layerName(t));
        GameState g = labelledPuzzle(t);
        const GameState start = g;
        for (int dir : {1, -1}) {
            turn(g, t, dir);
            EXPECT_FALSE(sameColours(g, start));
            turn(g, t, -dir);
            EXPECT_TRUE(sameColours(g, start));
        }
    }
}

TEST_P(TurnAlgebra, FullRoundRestoresTheColours) {
    const int round = GetParam().kind == kCube ? 4 : 3;
    for (const LayerTurn& t : layersOf(GetParam())) {
        SCOPED_TRACE(layerName(t));
        GameState g = labelledPuzzle(t);
        const GameState start = g;
        for (int dir : {1, -1}) {
            for (int i = 1; i <= round; ++i) {
                turn(g, t, dir);
                EXPECT_EQ(sameColours(g, start), i == round) << "after " << i << " turns";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPuzzle, TurnAlgebra,
                         ::testing::Values(PuzzleCase{kCube, 1}, PuzzleCase{kCube, 2},
                                           PuzzleCase{kCube, 5}, PuzzleCase{kTetrahedron, 1},
                                           PuzzleCase{kTetrahedron, 4}, PuzzleCase{kPiracube, 3}),
                         puzzleName);

TEST(PiracubeTurn, BackwardsIsTwiceForwards) {
    for (int corner = 0; corner < 8; ++corner) {
        GameState once;
        buildPuzzleState(once, kPiracube, 2);
        testing::labelAllCells(once);
        GameState twice = once;
        permutePiracubeColours(once, corner, -1);
        permutePiracubeColours(twice, corner, 1);
        permutePiracubeColours(twice, corner, 1);
        EXPECT_TRUE(sameColours(once, twice)) << "corner " << corner;
    }
}

TEST(CubeTurn, MiddleLayerAboutAxisOneLeavesFrontAndBack) {
    GameState g;
    buildPuzzleState(g, kCube, 4);
    testing::labelAllCells(g);
    const GameState start = g;
    for (int layer = 1; layer < 4; ++layer) {
        permuteCubeColours(g, 1, layer, 1);
        for (int a = 0; a <= 4; ++a) {
            for (int b = 0; b <= 4; ++b) {
                EXPECT_EQ(g.stickerColour[a][b][0], start.stickerColour[a][b][0]);
                EXPECT_EQ(g.stickerColour[a][b][1], start.stickerColour[a][b][1]);
            }
        }
    }
    EXPECT_FALSE(sameColours(g, start));
}

// Arguments that name no turn move nothing and read or write nothing out of bounds.
TEST(TurnArguments, OutOfRangeTurnsMoveNothing) {
    GameState g;
    buildPuzzleState(g, kCube, 2);
    testing::labelAllCells(g);
    const GameState start = g;
    permuteCubeColours(g, 0, 0, 1);
    permuteCubeColours(g, 4, 0, 1);
    permuteCubeColours(g, 1, 3, 1);
    permuteCubeColours(g, 1, -1, 1);
    permuteTetrahedronColours(g, 5, 0, 1);
    permutePiracubeColours(g, 8, 1);
    permutePiracubeColours(g, -1, 1);
    EXPECT_TRUE(sameColours(g, start));
}

} // namespace
} // namespace korvane
