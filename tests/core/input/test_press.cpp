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
TEST(PointInPolygon, FollowsTheHalfOpenCrossingRule) {
    using Case = std::tuple<const std::vector<Point>*, Point, bool>;
    const std::vector<Point> flat = {{0, 5}, {10, 5}, {20, 5}};
    for (const auto& [polygon, probe, inside] :
         {Case{&kSquare, {5, 5}, true}, Case{&kSquare, {-1, 5}, false},
          Case{&kSquare, {0, 0}, true}, Case{&kSquare, {10, 0}, false},
          Case{&kSquare, {0, 10}, false}, Case{&kSquare, {5, 0}, true},
          Case{&kSquare, {10, 5}, false}, Case{&kSquare, {5, 10}, false},
          Case{&kU, {15, 20}, false}, Case{&kU, {25, 20}, true}, Case{&kU, {5, 10}, true},
          Case{&kU, {15, 10}, false}, Case{&kSlantDown, {6, 1}, false},
          Case{&kSlantUp, {6, 1}, true}, Case{&kHuge, {0, 0}, true}, Case{&kHuge, {0, kFar}, false},
          Case{&flat, {5, 5}, false}}) {
        const int count = static_cast<int>(polygon->size());
        EXPECT_EQ(pointInPolygon(polygon->data(), count, probe.x, probe.y), inside)
            << probe.x << "," << probe.y << " in a polygon of " << count;
    }
}

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
