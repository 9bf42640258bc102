#include <gtest/gtest.h>

#include <memory>

#include "fakes/recording_canvas.h"
#include "input/strokes.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "render/renderer.h"

namespace korvane {
namespace {

// The stylus is judged against the picture the player saw: every sticker slot a full redraw
// stores can be pressed at its middle, in the standard view and after spins.

struct Drawn {
    int type;
    int level;
};

class DrawnRecords : public ::testing::TestWithParam<Drawn> {};

Point middle(const StickerScreen& s, int count) {
    int x = 0;
    int y = 0;
    for (int k = 0; k < count; ++k) {
        x += s.p[k].x;
        y += s.p[k].y;
    }
    return {x / count, y / count};
}

// Whether the last redraw drew slot s: the cube clears the outlines it leaves out; the other
// kinds keep stale records, so their slots are judged by the face they show.
bool drawn(const GameState& g, int slot) {
    if (g.puzzleType == kTetrahedron) {
        const int normalOfSlot[4] = {2, 3, 1, 0};
        return g.faceNormal[normalOfSlot[slot - 1]][2] > 0.0;
    }
    if (g.puzzleType == kPiracube) {
        const int faceOfSlot[3][2] = {{0, 1}, {3, 2}, {4, 5}}; // sign +1, sign -1
        const int face = faceOfSlot[slot - 1][g.faceSign[slot - 1] > 0 ? 0 : 1];
        return g.faceNormal[face][2] > 0.15;
    }
    return !(g.faceOutline[slot - 1][0] == Point{-1, -1});
}

int checkEveryStickerHitsBack(const GameState& g) {
    const int n = static_cast<int>(g.size);
    const bool tetra = g.puzzleType == kTetrahedron;
    int checked = 0;
    for (int slot = 1; slot <= (tetra ? 4 : 3); ++slot) {
        if (!drawn(g, slot)) {
            continue;
        }
        for (int r = 0; r <= n; ++r) {
            const int lastCol = tetra ? 2 * n - 2 * r : n;
            for (int c = 0; c <= lastCol; ++c) {
                const bool handle = r >= 1 && r <= 2 && c <= 1;
                if (g.puzzleType == kPiracube && !handle) {
                    continue;
                }
                const Point p =
                    middle(g.stickerPoly[slot - 1][r][c], g.puzzleType == kCube ? 4 : 3);
                const StickerHit hit = hitTestPress(g, p.x, p.y);
                EXPECT_EQ(hit.slot, slot) << "(" << r << ", " << c << ")";
                EXPECT_EQ(hit.row, r) << "slot " << slot;
                EXPECT_EQ(hit.col, c) << "slot " << slot;
                ++checked;
            }
        }
    }
    return checked;
}

TEST_P(DrawnRecords, EveryStoredStickerCanBePressed) {
    auto g = std::make_unique<GameState>();
    testing::RecordingCanvas canvas;
    buildPuzzleState(*g, GetParam().type, GetParam().level);
    for (double spin : {0.0, 50.0, 130.0}) {
        spinX(*g, spin);
        spinY(*g, spin / 2);
        g->renderMode = 1;
        renderPuzzle(*g, canvas);
        SCOPED_TRACE(::testing::Message() << "spin " << spin);
        EXPECT_GT(checkEveryStickerHitsBack(*g), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, DrawnRecords,
                         ::testing::Values(Drawn{kCube, 1}, Drawn{kCube, 3}, Drawn{kCube, 5},
                                           Drawn{kTetrahedron, 1}, Drawn{kTetrahedron, 4},
                                           Drawn{kPiracube, 2}));

// A row stroke on the front face of a fresh cube turns a row layer.
TEST(DrawnRecords, AStrokeOnTheDrawnCubeTurnsALayer) {
    auto g = std::make_unique<GameState>();
    testing::RecordingCanvas canvas;
    buildPuzzleState(*g, kCube, 3);
    g->renderMode = 1;
    renderPuzzle(*g, canvas);
    ASSERT_TRUE(drawn(*g, 1));
    const Point from = middle(g->stickerPoly[0][1][1], 4);
    const Point to = middle(g->stickerPoly[0][1][3], 4);
    const StickerHit hit = hitTestPress(*g, from.x, from.y);
    g->gestureState = hit.slot;
    g->pressedRow = hit.row;
    g->pressedCol = hit.col;
    const TurnRequest turn = decodeStroke(*g, to.x, to.y);
    EXPECT_EQ(turn.op, 3);
    EXPECT_EQ(turn.layer, 1);
    EXPECT_EQ(turn.dir, g->faceSign[0]);
}

} // namespace
} // namespace korvane
