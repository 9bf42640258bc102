#include <gtest/gtest.h>

#include "input/strokes.h"
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
    const char* name;
    int slot;
    int pressRow, pressCol;
    int releaseRow, releaseCol;
    TurnRequest expected;
};

class TetraStrokes : public ::testing::TestWithParam<TetraStroke> {};

TEST_P(TetraStrokes, NameTheLayerSharedByBothTriangles) {
    const TetraStroke& c = GetParam();
    GameState g;
    layOutTetrahedron(g, kN);
    press(g, c.slot, c.pressRow, c.pressCol);
    const Point p = cellPoint(c.slot, c.releaseRow, c.releaseCol);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), c.expected);
}

// Frames at level 2: (0, 1) and (1, 0) share frame B row 1 and frame A row 0; (1, 0) and (0, 2)
// share only frame B row 1; (0, 0) and (1, 1) share only frame A row 0; (0, 0) and (1, 2)
// share nothing.
INSTANTIATE_TEST_SUITE_P(
    Cases, TetraStrokes,
    ::testing::Values(TetraStroke{"slot2_row", 2, 1, 0, 1, 2, axis(1, +1, 1)},
                      TetraStroke{"slot1_row", 1, 0, 3, 0, 0, axis(2, -1, 0)},
                      TetraStroke{"slot4_row", 4, 2, 0, 2, 0, kNone},
                      TetraStroke{"slot1_frame_b_before_a", 1, 0, 1, 1, 0, axis(4, +1, 1)},
                      TetraStroke{"slot3_frame_b_before_a", 3, 1, 0, 0, 1, axis(4, -1, 1)},
                      TetraStroke{"slot2_frame_b", 2, 1, 0, 0, 2, axis(3, -1, 1)},
                      TetraStroke{"slot4_frame_b", 4, 0, 2, 1, 0, axis(2, +1, 1)},
                      TetraStroke{"slot1_frame_a", 1, 0, 0, 1, 1, axis(3, -1, 0)},
                      TetraStroke{"slot2_frame_a", 2, 1, 1, 0, 0, axis(4, +1, 0)},
                      TetraStroke{"slot3_frame_a", 3, 2, 0, 0, 0, axis(2, +1, 0)},
                      TetraStroke{"slot4_frame_a", 4, 0, 0, 2, 0, axis(3, -1, 0)},
                      TetraStroke{"no_shared_layer", 1, 0, 0, 1, 2, kNone}),
    [](const ::testing::TestParamInfo<TetraStroke>& info) { return std::string(info.param.name); });

enum Corner { kRowStart, kRowEnd, kApex };

Point cornerPoint(int slot, Corner corner) {
    switch (corner) {
    case kRowStart:
        return cellPoint(slot, 0, 0);
    case kRowEnd:
        return cellPoint(slot, 0, 2 * kN);
    default:
        return cellPoint(slot, kN, 0);
    }
}

void pressCorner(GameState& g, int slot, Corner corner) {
    switch (corner) {
    case kRowStart:
        press(g, slot, 0, 0);
        break;
    case kRowEnd:
        press(g, slot, 0, 2 * kN);
        break;
    default:
        press(g, slot, kN, 0);
        break;
    }
}

TEST(TetraCornerStrokes, TurnTheTipWhereTheFacesMeet) {
    GameState g;
    layOutTetrahedron(g, kN);
    pressCorner(g, 1, kRowStart);
    Point p = cornerPoint(3, kRowStart);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), axis(4, +1, kN));
    p = cornerPoint(2, kRowEnd);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), axis(4, -1, kN));
    p = cornerPoint(4, kRowStart); // a corner, but not one at this tip
    EXPECT_EQ(decodeStroke(g, p.x, p.y), kNone);
    p = cellPoint(3, 0, 1); // beside the corner
    EXPECT_EQ(decodeStroke(g, p.x, p.y), kNone);
}

TEST(TetraCornerStrokes, OnlyCornerTrianglesStartThem) {
    GameState g;
    layOutTetrahedron(g, kN);
    press(g, 1, 0, 1);
    const Point p = cornerPoint(3, kRowStart);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), kNone);
}

TEST(TetraCornerStrokes, AreTestedAgainstCornersOfFacesTurnedAway) {
    GameState g;
    layOutTetrahedron(g, kN);
    for (int k = 0; k < kFaces; ++k) {
        g.faceNormal[k][2] = -1.0;
    }
    pressCorner(g, 2, kApex);
    const Point p = cornerPoint(4, kApex);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), axis(1, -1, kN));
}

// Every tip is reached from each of its three faces; stroking back from where a corner stroke
// ended turns the same tip the other way.
TEST(TetraCornerStrokes, AStrokeAndItsReverseTurnOppositeWays) {
    int turns = 0;
    for (int from = 1; from <= 4; ++from) {
        for (Corner fc : {kRowStart, kRowEnd, kApex}) {
            for (int to = 1; to <= 4; ++to) {
                for (Corner tc : {kRowStart, kRowEnd, kApex}) {
                    if (to == from) {
                        continue;
                    }
                    GameState g;
                    layOutTetrahedron(g, kN);
                    pressCorner(g, from, fc);
                    const Point p = cornerPoint(to, tc);
                    const TurnRequest forth = decodeStroke(g, p.x, p.y);
                    if (forth == kNone) {
                        continue;
                    }
                    ++turns;
                    pressCorner(g, to, tc);
                    const Point q = cornerPoint(from, fc);
                    const TurnRequest back = decodeStroke(g, q.x, q.y);
                    EXPECT_EQ(back, axis(forth.op, -forth.dir, kN))
                        << from << "/" << fc << " -> " << to << "/" << tc;
                }
            }
        }
    }
    EXPECT_EQ(turns, 24);
}

TEST(TetraStrokes, TheFirstTriangleOfThePressedFaceEndsTheHandling) {
    GameState g;
    layOutTetrahedron(g, kN);
    pressCorner(g, 1, kRowStart);
    // Slot 3's corner triangle is drawn over slot 1's pressed corner: a tap still does nothing.
    const Point p = cornerPoint(1, kRowStart);
    setTriangle(g.stickerPoly[2][0][0].p, p.x - 2, p.y - 2, 9);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), kNone);
}

} // namespace
} // namespace korvane
