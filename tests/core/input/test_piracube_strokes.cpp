#include <gtest/gtest.h>

#include <vector>

#include "input/strokes.h"
#include "screen_layout.h"

namespace korvane {
namespace {

using namespace testing_layout;

constexpr TurnRequest kNone{};

struct Handle {
    int row;
    int col;
};
constexpr Handle kHandles[4] = {{1, 0}, {1, 1}, {2, 0}, {2, 1}};

TurnRequest corner(int dir, int c) {
    return {5, dir, 0, c};
}

TurnRequest stroke(const int signs[3], int from, Handle h, int to, Handle k) {
    GameState g;
    layOutPiracube(g, signs[0], signs[1], signs[2]);
    press(g, from, h.row, h.col);
    const Point p = cellPoint(to, k.row, k.col);
    return decodeStroke(g, p.x, p.y);
}

TEST(PiracubeStrokes, TurnTheCornerBetweenTwoFacesEitherWay) {
    for (int third : {+1, -1}) {
        const int signs[3] = {+1, -1, third};
        EXPECT_EQ(stroke(signs, 1, {1, 0}, 2, {1, 0}), corner(+1, 0));
        EXPECT_EQ(stroke(signs, 2, {1, 0}, 1, {1, 0}), corner(-1, 0));
    }
}

TEST(PiracubeStrokes, DoNothingWhenTheSlotShowsTheOtherFace) {
    const int signs[3] = {+1, +1, +1};
    EXPECT_EQ(stroke(signs, 1, {1, 0}, 2, {1, 0}), kNone);
}

TEST(PiracubeStrokes, DoNothingWithinOneFace) {
    const int signs[3] = {+1, -1, +1};
    EXPECT_EQ(stroke(signs, 1, {1, 0}, 1, {1, 1}), kNone);

    // Not even where another face's handle is drawn over the pressed face.
    GameState g;
    layOutPiracube(g, +1, -1, +1);
    press(g, 1, 1, 0);
    const Point p = cellPoint(1, 2, 1);
    setTriangle(g.stickerPoly[1][1][0].p, p.x - 2, p.y - 2, 8);
    EXPECT_EQ(decodeStroke(g, p.x, p.y), kNone);
}

TEST(PiracubeStrokes, DoNothingOnAFacesCentreOrOffThePuzzle) {
    GameState g;
    layOutPiracube(g, +1, -1, +1);
    press(g, 1, 1, 0);
    const Point centre = cellPoint(2, 0, 0);
    EXPECT_EQ(decodeStroke(g, centre.x, centre.y), kNone);
    EXPECT_EQ(decodeStroke(g, 5, 5), kNone);
}

struct Found {
    int from;
    Handle h;
    int to;
    Handle k;
    int signs[3];
    TurnRequest turn;
};

// Every stroke between handles of two face slots, under every combination of faceSign.
std::vector<Found> allTurningStrokes() {
    std::vector<Found> found;
    for (int bits = 0; bits < 8; ++bits) {
        const int signs[3] = {bits & 1 ? -1 : +1, bits & 2 ? -1 : +1, bits & 4 ? -1 : +1};
        for (int from = 1; from <= 3; ++from) {
            for (int to = 1; to <= 3; ++to) {
                for (Handle h : kHandles) {
                    for (Handle k : kHandles) {
                        if (from == to) {
                            continue;
                        }
                        const TurnRequest t = stroke(signs, from, h, to, k);
                        if (!(t == kNone)) {
                            found.push_back({from, h, to, k, {signs[0], signs[1], signs[2]}, t});
                        }
                    }
                }
            }
        }
    }
    return found;
}

// The faceSign slot k shows while its face holds the corner.
int signAtCorner(int slot, int c) {
    switch (slot) {
    case 1:
        return c & 4 ? -1 : +1;
    case 2:
        return c & 2 ? +1 : -1;
    default:
        return c & 1 ? +1 : -1;
    }
}

TEST(PiracubeStrokes, EveryStrokeAndItsReverseTurnTheSameCornerOppositeWays) {
    const std::vector<Found> found = allTurningStrokes();
    // 48 strokes, each turning whatever the third slot shows.
    EXPECT_EQ(found.size(), 96u);
    for (const Found& f : found) {
        SCOPED_TRACE(::testing::Message() << f.from << "(" << f.h.row << "," << f.h.col << ") -> "
                                          << f.to << "(" << f.k.row << "," << f.k.col << ")");
        ASSERT_EQ(f.turn.op, 5);
        EXPECT_EQ(f.turn.layer, 0);
        ASSERT_GE(f.turn.corner, 0);
        ASSERT_LT(f.turn.corner, 8);
        EXPECT_EQ(stroke(f.signs, f.to, f.k, f.from, f.h), corner(-f.turn.dir, f.turn.corner));
        // The corner belongs to both faces the stroke joins.
        EXPECT_EQ(f.signs[f.from - 1], signAtCorner(f.from, f.turn.corner));
        EXPECT_EQ(f.signs[f.to - 1], signAtCorner(f.to, f.turn.corner));
    }
}

// Each corner of the faces on show is reached from each of the three edges that meet there,
// once each way.
TEST(PiracubeStrokes, EveryVisibleCornerCanBeTurned) {
    const std::vector<Found> found = allTurningStrokes();
    for (int bits = 0; bits < 8; ++bits) {
        const int signs[3] = {bits & 1 ? -1 : +1, bits & 2 ? -1 : +1, bits & 4 ? -1 : +1};
        int strokesAtShownCorner = 0;
        for (const Found& f : found) {
            const bool sameView =
                f.signs[0] == signs[0] && f.signs[1] == signs[1] && f.signs[2] == signs[2];
            if (sameView && signAtCorner(1, f.turn.corner) == signs[0] &&
                signAtCorner(2, f.turn.corner) == signs[1] &&
                signAtCorner(3, f.turn.corner) == signs[2]) {
                ++strokesAtShownCorner;
            }
        }
        EXPECT_EQ(strokesAtShownCorner, 6) << "view " << bits;
    }
}

// The Piracube's redraw leaves the records of a slot whose faces both turned away as they were:
// what is no longer on screen can neither be pressed nor be stroked onto.
TEST(PiracubeStrokes, StaleRecordsOfAFaceTurnedAwayDoNotCount) {
    GameState g;
    layOutPiracube(g, +1, -1, +1);
    g.faceNormal[2][2] = 0.15; // slot 2 shows face 2 (faceSign -1), now edge-on
    const Point h = cellPoint(2, 1, 0);
    EXPECT_EQ(hitTestPress(g, h.x, h.y).slot, 0);

    press(g, 1, 1, 0);
    EXPECT_EQ(decodeStroke(g, h.x, h.y), kNone);
    g.faceNormal[2][2] = 0.2;
    EXPECT_EQ(hitTestPress(g, h.x, h.y).slot, 2);
    EXPECT_EQ(decodeStroke(g, h.x, h.y), corner(+1, 0));
}

} // namespace
} // namespace korvane
