#include <gtest/gtest.h>

#include "input/strokes.h"
#include "screen_layout.h"

namespace korvane {
namespace {

using namespace testing_layout;

void expectHit(const StickerHit& hit, int slot, int row, int col) {
    EXPECT_EQ(hit.slot, slot);
    EXPECT_EQ(hit.row, row);
    EXPECT_EQ(hit.col, col);
}

TEST(HitTestPress, CubeFindsTheStickerUnderThePoint) {
    GameState g;
    layOutCube(g, 2, +1, +1, +1);
    const Point p = cellPoint(2, 1, 2);
    expectHit(hitTestPress(g, p.x, p.y), 2, 1, 2);
    expectHit(hitTestPress(g, originX(1) - 5, originY(1)), 0, 0, 0);
}

TEST(HitTestPress, CubeGoesOnToTheNextSlotWhenAnOutlineHoldsNoSticker) {
    GameState g;
    layOutCube(g, 2, +1, +1, +1);
    const Point p = cellPoint(3, 0, 1);
    // Slot 1's outline now covers the point, but none of its cells does.
    setSquare(g.faceOutline[0], p.x - 50, p.y - 50, 100);
    expectHit(hitTestPress(g, p.x, p.y), 3, 0, 1);
}

TEST(HitTestPress, CubeTakesTheFirstSlotAndTheFirstCellInRowMajorOrder) {
    GameState g;
    layOutCube(g, 2, +1, +1, +1);
    const Point p = cellPoint(2, 2, 0);
    // Cell (1, 2) of slot 1 is moved over the same point, and so is cell (2, 1) of slot 1.
    setSquare(g.faceOutline[0], p.x - 50, p.y - 50, 100);
    setSquare(g.stickerPoly[0][2][1].p, p.x - 1, p.y - 1, 3);
    setSquare(g.stickerPoly[0][1][2].p, p.x - 1, p.y - 1, 3);
    expectHit(hitTestPress(g, p.x, p.y), 1, 1, 2);
}

TEST(HitTestPress, CubeSlotsThatAreNotDrawnCannotBeHit) {
    GameState g;
    layOutCube(g, 2, +1, +1, +1);
    const Point p = cellPoint(1, 1, 1);
    for (Point& q : g.faceOutline[0]) {
        q = {-1, -1};
    }
    expectHit(hitTestPress(g, p.x, p.y), 0, 0, 0);
}

TEST(HitTestPress, PiracubeTestsItsOutlineAsFourPointsAndOnlyItsHandles) {
    GameState g;
    layOutPiracube(g, +1, +1, +1);
    // A handle in the corner that the outline's first three points do not cover.
    const int x0 = originX(1);
    const int y0 = originY(1);
    setTriangle(g.stickerPoly[0][2][1].p, x0 + 2, y0 + 30, 6);
    expectHit(hitTestPress(g, x0 + 3, y0 + 32), 1, 2, 1);
    const Point other = cellPoint(2, 1, 1);
    expectHit(hitTestPress(g, other.x, other.y), 2, 1, 1);
    const Point centre = cellPoint(2, 0, 0); // a record, but no handle
    expectHit(hitTestPress(g, centre.x, centre.y), 0, 0, 0);
}

TEST(HitTestPress, TetrahedronSkipsFacesTurnedAwayAndColumnsPastTheRow) {
    GameState g;
    layOutTetrahedron(g, 2);
    const Point p = cellPoint(3, 1, 1);
    expectHit(hitTestPress(g, p.x, p.y), 3, 1, 1);
    g.faceNormal[1][2] = 0.0; // slot 3 shows normal 1, now edge-on
    expectHit(hitTestPress(g, p.x, p.y), 0, 0, 0);

    // Row 1 of level 2 ends at column 2: a record past it is no triangle.
    setCell(g, 4, 1, 3, 3);
    const Point past = cellPoint(4, 1, 3);
    expectHit(hitTestPress(g, past.x, past.y), 0, 0, 0);
    const Point last = cellPoint(4, 0, 4);
    expectHit(hitTestPress(g, last.x, last.y), 4, 0, 4);
}

TEST(HitTestPress, TetrahedronPressableSlotsFollowTheirNormals) {
    const int normalOfSlot[4] = {2, 3, 1, 0};
    for (int slot = 1; slot <= 4; ++slot) {
        GameState g;
        layOutTetrahedron(g, 1);
        g.faceNormal[normalOfSlot[slot - 1]][2] = -0.5;
        const Point p = cellPoint(slot, 0, 1);
        expectHit(hitTestPress(g, p.x, p.y), 0, 0, 0);
    }
}

TEST(HitTestPress, TheSphereHasNoStickers) {
    GameState g;
    layOutCube(g, 2, +1, +1, +1);
    g.puzzleType = kSphere;
    const Point p = cellPoint(1, 1, 1);
    expectHit(hitTestPress(g, p.x, p.y), 0, 0, 0);
}

TEST(HitTestPress, AnOversizedLevelStaysInsideTheRecords) {
    GameState g;
    layOutCube(g, 2, +1, +1, +1);
    g.size = 1.0e9;
    const Point p = cellPoint(1, 1, 1);
    expectHit(hitTestPress(g, p.x, p.y), 1, 1, 1);
    g.puzzleType = kTetrahedron;
    g.size = 40.0;
    EXPECT_EQ(hitTestPress(g, originX(1) + 5000, 0).slot, 0);
}

} // namespace
} // namespace korvane
