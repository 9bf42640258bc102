#include <gtest/gtest.h>

#include "screen_layout.h"

namespace korvane {
namespace {

using namespace testing_layout;

constexpr TurnRequest kNone{};

TurnRequest axis(int op, int dir, int layer) {
    return {op, dir, layer, -1};
}

struct CubeStroke {
    int slot, sign;
    int pressRow, pressCol, releaseRow, releaseCol;
    TurnRequest expected;
};

class CubeStrokes : public ::testing::TestWithParam<CubeStroke> {};

TEST_P(CubeStrokes, NameTheTurnOfTheRowOrColumn) {
    const CubeStroke& c = GetParam();
    GameState g;
    layOut(g, kCube, 3, c.sign, c.sign, c.sign);
    press(g, c.slot, c.pressRow, c.pressCol);
    EXPECT_EQ(release(g, c.slot, c.releaseRow, c.releaseCol), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CubeStrokes,
                         ::testing::Values(CubeStroke{1, +1, 1, 1, 1, 2, axis(3, +1, 1)},
                                           CubeStroke{1, +1, 1, 1, 0, 1, axis(2, -1, 1)},
                                           CubeStroke{1, +1, 1, 1, 2, 2, kNone}, // diagonal
                                           CubeStroke{1, +1, 1, 1, 1, 1, kNone}, // tap
                                           CubeStroke{1, +1, 0, 0, 0, 3, axis(3, +1, 0)},
                                           CubeStroke{1, -1, 1, 1, 1, 2, axis(3, -1, 1)},
                                           CubeStroke{2, +1, 2, 3, 2, 0, axis(3, -1, 2)},
                                           CubeStroke{2, -1, 0, 2, 3, 2, axis(1, -1, 2)},
                                           // slot 3 turns its columns the other way round
                                           CubeStroke{3, +1, 1, 1, 2, 1, axis(1, -1, 1)},
                                           CubeStroke{3, +1, 1, 1, 0, 1, axis(1, +1, 1)},
                                           CubeStroke{3, -1, 1, 1, 2, 1, axis(1, +1, 1)},
                                           CubeStroke{3, +1, 3, 0, 3, 1, axis(2, +1, 3)}));

TEST(CubeStrokes, EndingOffThePressedFaceOrItsCellsDoesNothing) {
    GameState g;
    layOut(g, kCube, 2);
    press(g, 1, 1, 1);
    EXPECT_EQ(release(g, 2, 1, 2), kNone);
    EXPECT_EQ(decodeStroke(g, 5, 5), kNone);
    const Point p = cellPoint(1, 1, 2);
    setPolygon(g.stickerPoly[0][1][2].p, 4, -100, -100, 5);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), kNone);
    g.gestureState = 0;
    EXPECT_EQ(release(g, 1, 1, 0), kNone);
}

} // namespace
} // namespace korvane
