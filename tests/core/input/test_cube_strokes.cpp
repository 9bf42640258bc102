#include <gtest/gtest.h>

#include "input/strokes.h"
#include "screen_layout.h"

namespace korvane {
namespace {

using namespace testing_layout;

constexpr TurnRequest kNone{};

TurnRequest axis(int op, int dir, int layer) {
    return {op, dir, layer, -1};
}

struct CubeStroke {
    const char* name;
    int slot;
    int sign;
    int pressRow, pressCol;
    int releaseRow, releaseCol;
    TurnRequest expected;
};

class CubeStrokes : public ::testing::TestWithParam<CubeStroke> {};

TEST_P(CubeStrokes, NameTheTurnOfTheRowOrColumn) {
    const CubeStroke& c = GetParam();
    GameState g;
    layOutCube(g, 3, c.sign, c.sign, c.sign);
    press(g, c.slot, c.pressRow, c.pressCol);
    const Point p = cellPoint(c.slot, c.releaseRow, c.releaseCol);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CubeStrokes,
    ::testing::Values(CubeStroke{"slot1_row_right", 1, +1, 1, 1, 1, 2, axis(3, +1, 1)},
                      CubeStroke{"slot1_column_up", 1, +1, 1, 1, 0, 1, axis(2, -1, 1)},
                      CubeStroke{"slot1_diagonal", 1, +1, 1, 1, 2, 2, kNone},
                      CubeStroke{"slot1_tap", 1, +1, 1, 1, 1, 1, kNone},
                      CubeStroke{"slot1_far_along_row", 1, +1, 0, 0, 0, 3, axis(3, +1, 0)},
                      CubeStroke{"slot1_other_side", 1, -1, 1, 1, 1, 2, axis(3, -1, 1)},
                      CubeStroke{"slot2_row_left", 2, +1, 2, 3, 2, 0, axis(3, -1, 2)},
                      CubeStroke{"slot2_column_down", 2, -1, 0, 2, 3, 2, axis(1, -1, 2)},
                      // Slot 3 turns its columns the other way round.
                      CubeStroke{"slot3_column_down", 3, +1, 1, 1, 2, 1, axis(1, -1, 1)},
                      CubeStroke{"slot3_column_up", 3, +1, 1, 1, 0, 1, axis(1, +1, 1)},
                      CubeStroke{"slot3_column_down_other_side", 3, -1, 1, 1, 2, 1, axis(1, +1, 1)},
                      CubeStroke{"slot3_row_right", 3, +1, 3, 0, 3, 1, axis(2, +1, 3)}),
    [](const ::testing::TestParamInfo<CubeStroke>& info) { return std::string(info.param.name); });

TEST(CubeStrokes, EndingOnAnotherFaceOrOffThePuzzleDoesNothing) {
    GameState g;
    layOutCube(g, 2, +1, +1, +1);
    press(g, 1, 1, 1);
    const Point other = cellPoint(2, 1, 2);
    EXPECT_EQ(decodeStroke(g, other.x, other.y), kNone);
    EXPECT_EQ(decodeStroke(g, 5, 5), kNone);
}

TEST(CubeStrokes, AReleaseInTheOutlineButOnNoCellDoesNothing) {
    GameState g;
    layOutCube(g, 2, +1, +1, +1);
    press(g, 1, 1, 1);
    const Point p = cellPoint(1, 1, 2);
    setSquare(g.stickerPoly[0][1][2].p, -100, -100, 5); // the cell is not where it was drawn
    EXPECT_EQ(decodeStroke(g, p.x, p.y), kNone);
}

TEST(CubeStrokes, NoPressNoTurn) {
    GameState g;
    layOutCube(g, 2, +1, +1, +1);
    const Point p = cellPoint(1, 1, 2);
    press(g, 0, 1, 1);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), kNone);
    press(g, 1, 1, 1);
    g.puzzleType = kSphere;
    EXPECT_EQ(decodeStroke(g, p.x, p.y), kNone);
}

} // namespace
} // namespace korvane
