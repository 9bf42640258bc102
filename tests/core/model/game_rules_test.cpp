#include <set>
#include <string>

#include <gtest/gtest.h>

#include "model/game_rules.h"
#include "model/puzzle_build.h"
#include "model/turns.h"
#include "sticker_geometry.h"

namespace korvane {
namespace {

// ---- Scramble --------------------------------------------------------------------------------

struct ScrambleCase {
    int kind;
    int level;
    int ops;    // turn operations 1..ops (5 alone for the Piracube)
    int layers; // layers 0..layers-1
};

class Scramble : public ::testing::TestWithParam<ScrambleCase> {};

TEST_P(Scramble, KeepsTheRulesForEverySeed) {
    const ScrambleCase& c = GetParam();
    std::set<int> layersSeen;
    for (unsigned seed = 0; seed < 300; ++seed) {
        RuntimeRandom rng;
        rng.srand(seed);
        ScrambleTurn turns[kScrambleTurns];
        ASSERT_EQ(planScramble(c.kind, c.level, rng, turns), kScrambleTurns);
        for (int i = 0; i < kScrambleTurns; ++i) {
            const ScrambleTurn& t = turns[i];
            ASSERT_TRUE(t.dir == 1 || t.dir == -1);
            if (c.kind == kPiracube) {
                ASSERT_EQ(t.op, 5);
                ASSERT_GE(t.corner, 0);
                ASSERT_LT(t.corner, 8);
                ASSERT_TRUE(i == 0 || t.corner != turns[i - 1].corner) << "seed " << seed;
                continue;
            }
            ASSERT_GE(t.op, 1);
            ASSERT_LE(t.op, c.ops);
            ASSERT_GE(t.layer, 0);
            ASSERT_LT(t.layer, c.layers);
            ASSERT_EQ(t.corner, -1);
            layersSeen.insert(t.layer);
            // Never straight back over the layer just turned, whatever the axes.
            ASSERT_FALSE(i > 0 && t.layer == turns[i - 1].layer && t.dir != turns[i - 1].dir)
                << "seed " << seed << " turn " << i;
        }
    }
    if (c.kind != kPiracube) {
        EXPECT_EQ(static_cast<int>(layersSeen.size()), c.layers);
    }
}

// The first candidate is always accepted, so it shows the drawing order: axis, direction
// choice, layer (Piracube: corner, then direction choice).
TEST_P(Scramble, DrawsInTheGamesOrder) {
    const ScrambleCase& c = GetParam();
    for (unsigned seed : {1u, 7u, 12345u}) {
        RuntimeRandom plan;
        RuntimeRandom draws;
        plan.srand(seed);
        draws.srand(seed);
        ScrambleTurn turns[kScrambleTurns];
        planScramble(c.kind, c.level, plan, turns);
        const int first = draws.rand();
        const int second = draws.rand();
        const int dir = second % 2 + 1 == 2 ? -1 : 1;
        EXPECT_EQ(turns[0].dir, dir);
        if (c.kind == kPiracube) {
            EXPECT_EQ(turns[0].corner, first % 8);
        } else {
            EXPECT_EQ(turns[0].op, first % c.ops + 1);
            EXPECT_EQ(turns[0].layer, draws.rand() % c.layers);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Scramble,
    ::testing::Values(ScrambleCase{kCube, 1, 3, 2}, ScrambleCase{kCube, 4, 3, 5},
                      ScrambleCase{kTetrahedron, 2, 4, 3}, ScrambleCase{kPiracube, 3, 5, 0},
                      // A level the build would clamp never divides by zero.
                      ScrambleCase{kCube, 0, 3, 2}),
    [](const auto& info) {
        return testing::kindName(info.param.kind) + std::to_string(info.param.level);
    });

TEST(Scramble, SphereAndUnknownKindsHaveNoTurns) {
    RuntimeRandom rng;
    ScrambleTurn turns[kScrambleTurns];
    EXPECT_EQ(planScramble(kSphere, 2, rng, turns), 0);
    EXPECT_EQ(planScramble(0, 2, rng, turns), 0);
}

// ---- Solved test -----------------------------------------------------------------------------

TEST(IsSolved, FailsAfterAnyTurnAndPassesWhenTurnedBack) {
    for (int kind : {kCube, kTetrahedron, kPiracube}) {
        GameState g;
        buildPuzzleState(g, kind, 2);
        ASSERT_TRUE(isSolved(g));
        if (kind == kCube) {
            permuteCubeColours(g, 2, 1, 1);
        } else if (kind == kTetrahedron) {
            permuteTetrahedronColours(g, 3, 2, 1);
        } else {
            permutePiracubeColours(g, 6, 1);
        }
        EXPECT_FALSE(isSolved(g)) << "kind " << kind;
    }
}

TEST(IsSolved, ReadsOnlyTheCellsOfThePuzzle) {
    GameState g;
    buildPuzzleState(g, kTetrahedron, 2);
    g.stickerColour[2][1][0] = 3; // past the end of row 2, which holds one triangle
    g.stickerColour[0][5][0] = 3; // past 2N
    g.stickerColour[0][0][4] = 1; // no face 4 on a tetrahedron
    EXPECT_TRUE(isSolved(g));
    g.stickerColour[2][0][0] = 3;
    EXPECT_FALSE(isSolved(g));

    buildPuzzleState(g, kCube, 2);
    g.stickerColour[3][0][1] = 0;
    EXPECT_TRUE(isSolved(g));
}

// A Piracube face whose five stickers all show another face's colour is not solved: the cells
// that never turn still hold the face's own number.
TEST(IsSolved, PiracubeFaceNeedsItsOwnColour) {
    GameState g;
    buildPuzzleState(g, kPiracube, 3);
    for (int f = 0; f < kFaces; ++f) {
        const int cells[5][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};
        for (const auto& c : cells) {
            g.stickerColour[c[0]][c[1]][f] = (f + 1) % kFaces;
        }
    }
    EXPECT_FALSE(isSolved(g));
}

TEST(IsSolved, KindsWithoutStickersPass) {
    GameState g;
    buildPuzzleState(g, kSphere, 2);
    g.stickerColour[0][1][0] = 3;
    EXPECT_TRUE(isSolved(g));
}

// ---- Highscore tables ------------------------------------------------------------------------

struct TableCase {
    int kind;
    double size;
    int table;
};

class HighscoreTable : public ::testing::TestWithParam<TableCase> {};

TEST_P(HighscoreTable, NamesThePuzzlesTable) {
    EXPECT_EQ(highscoreTable(GetParam().kind, GetParam().size), GetParam().table);
}

INSTANTIATE_TEST_SUITE_P(Puzzles, HighscoreTable,
                         ::testing::Values(TableCase{kCube, 1, 0}, TableCase{kCube, 2, 1},
                                           TableCase{kCube, 4, 3}, TableCase{kTetrahedron, 1, 4},
                                           TableCase{kTetrahedron, 4, 7},
                                           TableCase{kPiracube, 3, 8}, TableCase{kCube, 5, -1},
                                           TableCase{kTetrahedron, 5, -1}, TableCase{kCube, 0, -1},
                                           TableCase{kSphere, 2, -1}),
                         [](const auto& info) {
                             return testing::kindName(info.param.kind) +
                                    std::to_string(static_cast<int>(info.param.size));
                         });

} // namespace
} // namespace korvane
