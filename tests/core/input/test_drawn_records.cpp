#include <gtest/gtest.h>

#include <memory>

#include "fakes/recording_canvas.h"
#include "input/strokes.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "render/renderer.h"

namespace korvane {
namespace {

// The stylus is judged against the picture the player saw: the middle of every sticker slot a
// full redraw stores presses that sticker, in the standard view and after spins.

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
        const int faceOfSlot[3][2] = {{0, 1}, {3, 2}, {4, 5}}; // faceSign +1, -1
        return g.faceNormal[faceOfSlot[slot - 1][g.faceSign[slot - 1] > 0 ? 0 : 1]][2] > 0.15;
    }
    return !(g.faceOutline[slot - 1][0] == Point{-1, -1});
}

int pressEveryDrawnSticker(const GameState& g) {
    const int n = static_cast<int>(g.size);
    const bool tetra = g.puzzleType == kTetrahedron;
    int pressed = 0;
    for (int slot = 1; slot <= (tetra ? 4 : 3); ++slot) {
        for (int r = 0; r <= n && drawn(g, slot); ++r) {
            for (int c = 0; c <= (tetra ? 2 * n - 2 * r : n); ++c) {
                if (g.puzzleType == kPiracube && (r < 1 || r > 2 || c > 1)) {
                    continue; // only the handles
                }
                const Point p =
                    middle(g.stickerPoly[slot - 1][r][c], g.puzzleType == kCube ? 4 : 3);
                const StickerHit hit = hitTestPress(g, p.x, p.y);
                EXPECT_TRUE(hit.slot == slot && hit.row == r && hit.col == c)
                    << "slot " << slot << " (" << r << ", " << c << ") pressed " << hit.slot << " ("
                    << hit.row << ", " << hit.col << ")";
                ++pressed;
            }
        }
    }
    return pressed;
}

class DrawnRecords : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(DrawnRecords, EveryDrawnStickerCanBePressed) {
    auto g = std::make_unique<GameState>();
    testing::RecordingCanvas canvas;
    buildPuzzleState(*g, GetParam().first, GetParam().second);
    for (double spin : {0.0, 50.0, 130.0}) {
        SCOPED_TRACE(::testing::Message() << "spin " << spin);
        spinX(*g, spin);
        spinY(*g, spin / 2);
        g->renderMode = 1;
        renderPuzzle(*g, canvas);
        EXPECT_GT(pressEveryDrawnSticker(*g), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, DrawnRecords,
                         ::testing::Values(std::pair{kCube, 1}, std::pair{kCube, 3},
                                           std::pair{kCube, 5}, std::pair{kTetrahedron, 1},
                                           std::pair{kTetrahedron, 4}, std::pair{kPiracube, 2}));

TEST(DrawnRecords, AStrokeAlongARowOfTheDrawnCubeTurnsThatRow) {
    auto g = std::make_unique<GameState>();
    testing::RecordingCanvas canvas;
    buildPuzzleState(*g, kCube, 3);
    g->renderMode = 1;
    renderPuzzle(*g, canvas);
    const Point from = middle(g->stickerPoly[0][1][1], 4);
    const Point to = middle(g->stickerPoly[0][1][3], 4);
    const StickerHit hit = hitTestPress(*g, from.x, from.y);
    g->gestureState = hit.slot;
    g->pressedRow = hit.row;
    g->pressedCol = hit.col;
    EXPECT_EQ(decodeStroke(*g, to.x, to.y), (TurnRequest{3, g->faceSign[0], 1, -1}));
}

} // namespace
} // namespace korvane
