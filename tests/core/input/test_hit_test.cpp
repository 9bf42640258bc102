#include <gtest/gtest.h>

#include "screen_layout.h"

namespace korvane {
namespace {

using namespace testing_layout;

void expectHit(const StickerHit& hit, int slot, int row, int col) {
    EXPECT_EQ(hit.slot, slot);
    EXPECT_EQ(hit.row, row);
    EXPECT_EQ(hit.col, col);
}

TEST(HitTestPress, CubeScansSlotsThenCellsRowMajor) {
    GameState g;
    layOut(g, kCube, 2);
    expectHit(pressAt(g, 2, 1, 2), 2, 1, 2);
    // Slot 1's outline grows over slot 3's cell (0, 1) but none of its cells does: slot 3 wins.
    const Point p = cellPoint(3, 0, 1);
    setPolygon(g.faceOutline[0], 4, p.x - 50, p.y - 50, 100);
    expectHit(hitTestPress(g, p.x, p.y), 3, 0, 1);
    // Then slot 1's cells (2, 1) and (1, 2) are drawn over it too: the first in row order wins.
    setPolygon(g.stickerPoly[0][2][1].p, 4, p.x - 1, p.y - 1, 3);
    setPolygon(g.stickerPoly[0][1][2].p, 4, p.x - 1, p.y - 1, 3);
    expectHit(hitTestPress(g, p.x, p.y), 1, 1, 2);
    // A slot left out of the redraw shows (-1, -1).
    std::fill(std::begin(g.faceOutline[1]), std::end(g.faceOutline[1]), Point{-1, -1});
    expectHit(pressAt(g, 2, 1, 2), 0, 0, 0);
}

TEST(HitTestPress, PiracubeTestsItsOutlineAsFourPointsAndOnlyItsHandles) {
    GameState g;
    layOut(g, kPiracube, 3);
    // Handle (2, 1) moved into the corner that the outline's first three points leave out.
    const Point corner = g.faceOutline[0][3];
    setPolygon(g.stickerPoly[0][2][1].p, 3, corner.x + 2, corner.y - 8, 6);
    expectHit(hitTestPress(g, corner.x + 3, corner.y - 6), 1, 2, 1);
    expectHit(pressAt(g, 2, 1, 1), 2, 1, 1);
    expectHit(pressAt(g, 2, 0, 0), 0, 0, 0); // the centre is no handle
}

TEST(HitTestPress, TetrahedronSkipsFacesTurnedAwayAndColumnsPastTheRow) {
    const int normalOfSlot[4] = {2, 3, 1, 0};
    for (int slot = 1; slot <= 4; ++slot) {
        GameState g;
        layOut(g, kTetrahedron, 2);
        expectHit(pressAt(g, slot, 1, 1), slot, 1, 1);
        g.faceNormal[normalOfSlot[slot - 1]][2] = 0.0;
        expectHit(pressAt(g, slot, 1, 1), 0, 0, 0);
    }
    GameState g;
    layOut(g, kTetrahedron, 2);
    setCell(g, 4, 1, 3); // row 1 of level 2 ends at column 2
    expectHit(pressAt(g, 4, 1, 3), 0, 0, 0);
}

TEST(HitTestPress, TheSphereHasNoStickersAndNoLevelReadsPastTheRecords) {
    GameState g;
    layOut(g, kCube, 2);
    g.size = 1.0e9;
    expectHit(pressAt(g, 1, 1, 1), 1, 1, 1);
    g.puzzleType = kSphere;
    expectHit(pressAt(g, 1, 1, 1), 0, 0, 0);
}

} // namespace
} // namespace korvane
