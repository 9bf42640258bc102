#include <gtest/gtest.h>

#include "screen_layout.h"

namespace korvane {
namespace {

using namespace testing_layout;

constexpr TurnRequest kNone{};
constexpr int kN = 2; // rows 0..2, row r has columns 0..4-2r

TurnRequest axis(int op, int dir, int layer) {
    return {op, dir, layer, -1};
}

struct TetraStroke {
    int slot;
    int pressRow, pressCol, releaseRow, releaseCol;
    TurnRequest expected;
};

class TetraStrokes : public ::testing::TestWithParam<TetraStroke> {};

TEST_P(TetraStrokes, NameTheLayerBothTrianglesShare) {
    const TetraStroke& c = GetParam();
    GameState g;
    layOut(g, kTetrahedron, kN);
    press(g, c.slot, c.pressRow, c.pressCol);
    EXPECT_EQ(release(g, c.slot, c.releaseRow, c.releaseCol), c.expected);
}

// At level 2, (0, 1) and (1, 0) share frame B row 1 and frame A row 0; (1, 0) and (0, 2) only
// frame B row 1; (0, 0) and (1, 1) only frame A row 0; (0, 0) and (1, 2) nothing.
INSTANTIATE_TEST_SUITE_P(
    Cases, TetraStrokes,
    ::testing::Values(
        TetraStroke{2, 1, 0, 1, 2, axis(1, +1, 1)}, TetraStroke{1, 0, 3, 0, 0, axis(2, -1, 0)},
        TetraStroke{4, 2, 0, 2, 0, kNone},
        TetraStroke{1, 0, 1, 1, 0, axis(4, +1, 1)}, // frame B before frame A
        TetraStroke{3, 1, 0, 0, 1, axis(4, -1, 1)}, TetraStroke{2, 1, 0, 0, 2, axis(3, -1, 1)},
        TetraStroke{4, 0, 2, 1, 0, axis(2, +1, 1)}, TetraStroke{1, 0, 0, 1, 1, axis(3, -1, 0)},
        TetraStroke{2, 1, 1, 0, 0, axis(4, +1, 0)}, TetraStroke{3, 2, 0, 0, 0, axis(2, +1, 0)},
        TetraStroke{4, 0, 0, 2, 0, axis(3, -1, 0)}, TetraStroke{1, 0, 0, 1, 2, kNone}));

// The corner triangles (0, 0), (0, 2N) and (N, 0) of a face.
struct Cell {
    int row, col;
};
constexpr Cell kCorners[3] = {{0, 0}, {0, 2 * kN}, {kN, 0}};

TEST(TetraCornerStrokes, TurnTheTipWhereTheFacesMeet) {
    GameState g;
    layOut(g, kTetrahedron, kN);
    press(g, 1, 0, 0);
    EXPECT_EQ(release(g, 3, 0, 0), axis(4, +1, kN));
    EXPECT_EQ(release(g, 2, 0, 2 * kN), axis(4, -1, kN));
    EXPECT_EQ(release(g, 4, 0, 0), kNone); // a corner, but of another tip
    EXPECT_EQ(release(g, 3, 0, 1), kNone); // beside the corner
    press(g, 1, 0, 1);
    EXPECT_EQ(release(g, 3, 0, 0), kNone); // no corner pressed
    // Corners are tested as stored, also on faces turned away.
    for (int k = 0; k < kFaces; ++k) {
        g.faceNormal[k][2] = -1.0;
    }
    press(g, 2, kN, 0);
    EXPECT_EQ(release(g, 4, kN, 0), axis(1, -1, kN));
}

// Each tip is reached from each of its three faces; stroking back from where a corner stroke
// ended turns the same tip the other way.
TEST(TetraCornerStrokes, AStrokeAndItsReverseTurnOppositeWays) {
    int turns = 0;
    for (int from = 1; from <= 4; ++from) {
        for (int to = 1; to <= 4; ++to) {
            for (Cell fc : kCorners) {
                for (Cell tc : kCorners) {
                    GameState g;
                    layOut(g, kTetrahedron, kN);
                    press(g, from, fc.row, fc.col);
                    const TurnRequest forth = release(g, to, tc.row, tc.col);
                    if (from == to || forth == kNone) {
                        continue;
                    }
                    ++turns;
                    press(g, to, tc.row, tc.col);
                    EXPECT_EQ(release(g, from, fc.row, fc.col), axis(forth.op, -forth.dir, kN));
                }
            }
        }
    }
    EXPECT_EQ(turns, 24);
}

} // namespace
} // namespace korvane
