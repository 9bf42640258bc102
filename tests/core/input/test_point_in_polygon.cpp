#include <gtest/gtest.h>

#include <vector>

#include "input/point_in_polygon.h"

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

// Top and left edges and the top-left vertex belong to the polygon, bottom and right ones not.
INSTANTIATE_TEST_SUITE_P(
    Square, PointInPolygon,
    ::testing::Values(PolygonCase{kSquare, {5, 5}, true}, PolygonCase{kSquare, {-1, 5}, false},
                      PolygonCase{kSquare, {0, 0}, true}, PolygonCase{kSquare, {10, 0}, false},
                      PolygonCase{kSquare, {0, 10}, false}, PolygonCase{kSquare, {10, 10}, false},
                      PolygonCase{kSquare, {5, 0}, true}, PolygonCase{kSquare, {0, 5}, true},
                      PolygonCase{kSquare, {10, 5}, false}, PolygonCase{kSquare, {5, 10}, false}));
INSTANTIATE_TEST_SUITE_P(
    Concave, PointInPolygon,
    ::testing::Values(PolygonCase{kU, {15, 20}, false}, PolygonCase{kU, {5, 20}, true},
                      PolygonCase{kU, {25, 20}, true}, PolygonCase{kU, {15, 5}, true},
                      // a ray along the notch's horizontal top edge, and a point on it
                      PolygonCase{kU, {5, 10}, true}, PolygonCase{kU, {15, 10}, false}));
INSTANTIATE_TEST_SUITE_P(Truncation, PointInPolygon,
                         ::testing::Values(PolygonCase{kSlantDown, {6, 1}, false},
                                           PolygonCase{kSlantUp, {6, 1}, true},
                                           PolygonCase{kSlantDown, {5, 1}, true},
                                           PolygonCase{{{0, 5}, {10, 5}, {20, 5}}, {5, 5}, false}));

TEST(PointInPolygonRange, FarOffScreenPointsDoNotOverflow) {
    const int far = 1000000000;
    const Point big[4] = {{-far, -far}, {far, -far}, {far, far}, {-far, far}};
    EXPECT_TRUE(pointInPolygon(big, 4, 0, 0));
    EXPECT_FALSE(pointInPolygon(big, 4, 0, far));
    EXPECT_FALSE(pointInPolygon(big, 0, 0, 0));
}

} // namespace
} // namespace korvane
