#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <tuple>
#include <vector>

#include "fakes/recording_canvas.h"
#include "input/point_in_polygon.h"
#include "input/strokes.h"
#include "input/zoom.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "render/renderer.h"

namespace korvane {
namespace {

struct PolygonCase {
    std::vector<Point> polygon;
    Point probe;
    bool inside;
};

class PointInPolygon : public ::testing::TestWithParam<PolygonCase> {};

TEST_P(PointInPolygon, FollowsTheHalfOpenCrossingRule) {
    const PolygonCase& c = GetParam();
    const int count = static_cast<int>(c.polygon.size());
    EXPECT_EQ(pointInPolygon(c.polygon.data(), count, c.probe.x, c.probe.y), c.inside);
}

const std::vector<Point> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
// A U open at the bottom: the notch spans x 10..20 from y 10 down.
const std::vector<Point> kU = {{0, 0},   {30, 0},  {30, 30}, {20, 30},
                               {20, 10}, {10, 10}, {10, 30}, {0, 30}};
// One triangle walked both ways: its slanted edge crosses y = 1 at x 6.67, which truncates
// toward zero from the end the edge starts at: to 6 one way, to 7 the other.
const std::vector<Point> kSlantDown = {{0, 0}, {10, 0}, {0, 3}};
const std::vector<Point> kSlantUp = {{0, 3}, {10, 0}, {0, 0}};
constexpr int kFar = 1000000000; // far off screen, where a careless product overflows
const std::vector<Point> kHuge = {{-kFar, -kFar}, {kFar, -kFar}, {kFar, kFar}, {-kFar, kFar}};

// Top and left edges and the top-left vertex belong to the polygon, bottom and right ones not;
// a ray along the notch's horizontal top edge, and a point on it.
INSTANTIATE_TEST_SUITE_P(
    Cases, PointInPolygon,
    ::testing::Values(PolygonCase{kSquare, {5, 5}, true}, PolygonCase{kSquare, {-1, 5}, false},
                      PolygonCase{kSquare, {0, 0}, true}, PolygonCase{kSquare, {10, 0}, false},
                      PolygonCase{kSquare, {0, 10}, false}, PolygonCase{kSquare, {5, 0}, true},
                      PolygonCase{kSquare, {10, 5}, false}, PolygonCase{kSquare, {5, 10}, false},
                      PolygonCase{kU, {15, 20}, false}, PolygonCase{kU, {25, 20}, true},
                      PolygonCase{kU, {5, 10}, true}, PolygonCase{kU, {15, 10}, false},
                      PolygonCase{kSlantDown, {6, 1}, false}, PolygonCase{kSlantUp, {6, 1}, true},
                      PolygonCase{kHuge, {0, 0}, true}, PolygonCase{kHuge, {0, kFar}, false},
                      PolygonCase{{{0, 5}, {10, 5}, {20, 5}}, {5, 5}, false}));

// The stylus is judged against the picture the player saw: the middle of every sticker a full
// redraw of a fresh game records (the others stay all zero) presses that sticker, in the
// standard view and after spins.
class DrawnRecords : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(DrawnRecords, TheMiddleOfEveryDrawnStickerPressesIt) {
    const int points = GetParam().first == kCube ? 4 : 3;
    for (double spin : {0.0, 50.0, 130.0}) {
        Puzzle puzzle;
        auto records = std::make_unique<ScreenRecords>();
        const Gesture gesture;
        testing::RecordingCanvas canvas;
        buildPuzzleState(puzzle, GetParam().first, GetParam().second);
        spinX(puzzle, spin);
        spinY(puzzle, spin / 2);
        drawWholePuzzle(puzzle, View{}, canvas, *records);
        const StylusTarget g{puzzle, *records, gesture};
        int pressed = 0;
        for (int i = 0; i < kFaceSlots * kCells * kCells; ++i) {
            const int slot = 1 + i / (kCells * kCells), r = i / kCells % kCells, c = i % kCells;
            const Point* p = records->stickerPoly[slot - 1][r][c].p;
            if (p[0] == Point{} && p[1] == Point{}) {
                continue;
            }
            const Point sum = std::accumulate(p, p + points, Point{}, [](Point a, Point b) {
                return Point{a.x + b.x, a.y + b.y};
            });
            const StickerHit hit = hitTestPress(g, sum.x / points, sum.y / points);
            EXPECT_EQ(std::tuple(hit.slot, hit.row, hit.col), std::tuple(slot, r, c))
                << "spin " << spin;
            ++pressed;
        }
        EXPECT_GT(pressed, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, DrawnRecords,
                         ::testing::Values(std::pair{kCube, 1}, std::pair{kCube, 5},
                                           std::pair{kTetrahedron, 1}, std::pair{kTetrahedron, 4},
                                           std::pair{kPiracube, 3}));

int stepsUntil(double zoom, int dir, double bound) {
    for (int step = 1; step <= 200; ++step) {
        zoom = steppedZoom(zoom, dir);
        if (zoom == bound) {
            return step;
        }
    }
    return -1;
}

TEST(ZoomStep, ReachesItsBoundsExactlyAndStaysThere) {
    EXPECT_EQ(stepsUntil(1.2, +1, kZoomMax), 40);
    EXPECT_EQ(stepsUntil(1.2, -1, kZoomMin), 50);
    EXPECT_EQ(stepsUntil(kZoomMax, -1, kZoomMin), 90);
    EXPECT_EQ(steppedZoom(kZoomMax, +1), kZoomMax);
    EXPECT_EQ(steppedZoom(kZoomMin, -1), kZoomMin);
}

} // namespace
} // namespace korvane
