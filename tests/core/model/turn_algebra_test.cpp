// What turns do to each other: a turn and its reverse, a full round of turns, and the cells a
// turn must leave alone.

#include <cstring>
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

std::vector<LayerTurn> everyLayer() {
    std::vector<LayerTurn> out;
    for (int n = 1; n <= 5; ++n) {
        for (int axis = 1; axis <= 3; ++axis) {
            for (int layer = 0; layer <= n; ++layer) {
                out.push_back({kCube, n, axis, layer});
            }
        }
    }
    for (int n = 1; n <= 4; ++n) {
        for (int axis = 1; axis <= 4; ++axis) {
            for (int layer = 0; layer <= n; ++layer) {
                out.push_back({kTetrahedron, n, axis, layer});
            }
        }
    }
    for (int corner = 0; corner < 8; ++corner) {
        out.push_back({kPiracube, 3, corner, 0});
    }
    return out;
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

class TurnAlgebra : public ::testing::TestWithParam<LayerTurn> {
protected:
    void SetUp() override {
        buildPuzzleState(g, GetParam().kind, GetParam().n);
        testing::labelAllCells(g);
        start = g;
    }
    GameState g;
    GameState start;
};

TEST_P(TurnAlgebra, ReverseUndoesTheTurn) {
    for (int dir : {1, -1}) {
        turn(g, GetParam(), dir);
        EXPECT_FALSE(sameColours(g, start));
        turn(g, GetParam(), -dir);
        EXPECT_TRUE(sameColours(g, start));
    }
}

TEST_P(TurnAlgebra, FullRoundRestoresTheColours) {
    const int round = GetParam().kind == kCube ? 4 : 3;
    for (int dir : {1, -1}) {
        for (int i = 1; i <= round; ++i) {
            turn(g, GetParam(), dir);
            EXPECT_EQ(sameColours(g, start), i == round) << "after " << i << " turns";
        }
    }
}

TEST_P(TurnAlgebra, SavesTheColoursBeforeTheTurn) {
    turn(g, GetParam(), 1);
    EXPECT_EQ(g.savedColour[0][0][0], start.stickerColour[0][0][0]);
    EXPECT_EQ(g.savedColour[1][1][2], start.stickerColour[1][1][2]);
}

INSTANTIATE_TEST_SUITE_P(EveryLayer, TurnAlgebra, ::testing::ValuesIn(everyLayer()));

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
