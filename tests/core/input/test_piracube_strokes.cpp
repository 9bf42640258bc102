#include <gtest/gtest.h>

#include "screen_layout.h"

namespace korvane {
namespace {

using namespace testing_layout;

constexpr TurnRequest kNone{};

TurnRequest corner(int dir, int c) {
    return {5, dir, 0, c};
}

TEST(PiracubeStrokes, TurnTheCornerTheirFacesShareOnlyWhileTheyShowThem) {
    for (int third : {+1, -1}) {
        GameState g;
        layOut(g, kPiracube, 3, +1, -1, third);
        press(g, 1, 1, 0);
        EXPECT_EQ(release(g, 2, 1, 0), corner(+1, 0));
        press(g, 2, 1, 0);
        EXPECT_EQ(release(g, 1, 1, 0), corner(-1, 0));
        g.faceSign[0] = -1;
        EXPECT_EQ(release(g, 1, 1, 0), kNone);
    }
}

TEST(PiracubeStrokes, DoNothingWithinOneFaceOrOffTheHandles) {
    GameState g;
    layOut(g, kPiracube, 3, +1, -1, +1);
    press(g, 1, 1, 0);
    EXPECT_EQ(release(g, 1, 1, 1), kNone);
    EXPECT_EQ(release(g, 2, 0, 0), kNone); // a face centre
    EXPECT_EQ(decodeStroke(g, 5, 5), kNone);
    // Not even where another face's handle lies over the pressed face.
    const Point p = cellPoint(1, 2, 1);
    setPolygon(g.stickerPoly[1][1][0].p, 3, p.x - 2, p.y - 2, 8);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), kNone);
}

// The Piracube's redraw keeps the records of a slot whose faces both turned away: what is no
// longer on screen can neither be pressed nor be stroked onto.
TEST(PiracubeStrokes, StaleRecordsOfAFaceTurnedAwayDoNotCount) {
    GameState g;
    layOut(g, kPiracube, 3, +1, -1, +1);
    g.faceNormal[2][2] = 0.15; // slot 2 shows face 2 (faceSign -1), now edge-on
    EXPECT_EQ(pressAt(g, 2, 1, 0).slot, 0);
    press(g, 1, 1, 0);
    EXPECT_EQ(release(g, 2, 1, 0), kNone);
    g.faceNormal[2][2] = 0.2;
    EXPECT_EQ(pressAt(g, 2, 1, 0).slot, 2);
    EXPECT_EQ(release(g, 2, 1, 0), corner(+1, 0));
}

// The faceSign slot k shows while its face holds the corner.
int signAtCorner(int slot, int c) {
    const int bit[3] = {4, 2, 1};
    const bool set = (c & bit[slot - 1]) != 0;
    return slot == 1 ? (set ? -1 : +1) : (set ? +1 : -1);
}

// Every handle-to-handle stroke under every view: 48 strokes turn, each whatever the third slot
// shows; each turns a corner of both faces it joins, and its reverse turns it back.
TEST(PiracubeStrokes, EveryStrokeAndItsReverseTurnTheSameCornerOppositeWays) {
    const int handles[4][2] = {{1, 0}, {1, 1}, {2, 0}, {2, 1}};
    int turns = 0;
    for (int view = 0; view < 8; ++view) {
        const int signs[3] = {view & 1 ? -1 : +1, view & 2 ? -1 : +1, view & 4 ? -1 : +1};
        GameState g;
        layOut(g, kPiracube, 3, signs[0], signs[1], signs[2]);
        for (int from = 1; from <= 3; ++from) {
            for (int to = 1; to <= 3; ++to) {
                for (const auto& h : handles) {
                    for (const auto& k : handles) {
                        press(g, from, h[0], h[1]);
                        const TurnRequest t = release(g, to, k[0], k[1]);
                        if (from == to || t == kNone) {
                            continue;
                        }
                        ++turns;
                        SCOPED_TRACE(::testing::Message()
                                     << from << " -> " << to << " view " << view);
                        EXPECT_EQ(signs[from - 1], signAtCorner(from, t.corner));
                        EXPECT_EQ(signs[to - 1], signAtCorner(to, t.corner));
                        press(g, to, k[0], k[1]);
                        EXPECT_EQ(release(g, from, h[0], h[1]), corner(-t.dir, t.corner));
                    }
                }
            }
        }
    }
    EXPECT_EQ(turns, 96);
}

} // namespace
} // namespace korvane
