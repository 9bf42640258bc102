#include <gtest/gtest.h>

#include <vector>

#include "input/point_in_polygon.h"

namespace korvane {
namespace {

struct PolygonCase {
    const char* name;
    std::vector<Point> polygon;
    Point probe;
    bool inside;
};

class PointInPolygon : public ::testing::TestWithParam<PolygonCase> {};

TEST_P(PointInPolygon, FollowsTheHalfOpenCrossingRule) {
    const PolygonCase& c = GetParam();
    EXPECT_EQ(
        pointInPolygon(c.polygon.data(), static_cast<int>(c.polygon.size()), c.probe.x, c.probe.y),
        c.inside);
}

const std::vector<Point> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
// A U open at the bottom: the notch spans x 10..20 from y 10 down.
const std::vector<Point> kU = {{0, 0},   {30, 0},  {30, 30}, {20, 30},
                               {20, 10}, {10, 10}, {10, 30}, {0, 30}};

// The same triangle walked both ways: the crossing x of its slanted edge is 6.67 at y = 1 and
// truncates toward zero from whichever end the edge starts, to 6 one way and 7 the other.
const std::vector<Point> kSlantFromTop = {{0, 0}, {10, 0}, {0, 3}};
const std::vector<Point> kSlantFromBottom = {{0, 3}, {10, 0}, {0, 0}};

INSTANTIATE_TEST_SUITE_P(
    Cases, PointInPolygon,
    ::testing::Values(
        PolygonCase{"interior", kSquare, {5, 5}, true},
        PolygonCase{"left", kSquare, {-1, 5}, false}, PolygonCase{"below", kSquare, {5, 11}, false},
        // Top and left edges belong to the polygon, bottom and right ones do not.
        PolygonCase{"top_left_vertex", kSquare, {0, 0}, true},
        PolygonCase{"top_right_vertex", kSquare, {10, 0}, false},
        PolygonCase{"bottom_left_vertex", kSquare, {0, 10}, false},
        PolygonCase{"bottom_right_vertex", kSquare, {10, 10}, false},
        PolygonCase{"on_top_edge", kSquare, {5, 0}, true},
        PolygonCase{"on_left_edge", kSquare, {0, 5}, true},
        PolygonCase{"on_right_edge", kSquare, {10, 5}, false},
        PolygonCase{"on_bottom_edge", kSquare, {5, 10}, false},
        PolygonCase{"u_notch", kU, {15, 20}, false}, PolygonCase{"u_left_arm", kU, {5, 20}, true},
        PolygonCase{"u_right_arm", kU, {25, 20}, true}, PolygonCase{"u_bridge", kU, {15, 5}, true},
        // The ray at y = 10 runs along the notch's horizontal top edge.
        PolygonCase{"u_ray_along_notch_top", kU, {5, 10}, true},
        PolygonCase{"u_notch_top_edge", kU, {15, 10}, false},
        PolygonCase{"slant_truncates_down", kSlantFromTop, {6, 1}, false},
        PolygonCase{"slant_truncates_up", kSlantFromBottom, {6, 1}, true},
        PolygonCase{"slant_left_of_both", kSlantFromTop, {5, 1}, true},
        PolygonCase{"flat", {{0, 5}, {10, 5}, {20, 5}}, {5, 5}, false}),
    [](const ::testing::TestParamInfo<PolygonCase>& info) { return std::string(info.param.name); });

TEST(PointInPolygonRange, FarOffScreenPointsDoNotOverflow) {
    const Point big[4] = {{-1000000000, -1000000000},
                          {1000000000, -1000000000},
                          {1000000000, 1000000000},
                          {-1000000000, 1000000000}};
    EXPECT_TRUE(pointInPolygon(big, 4, 0, 0));
    EXPECT_FALSE(pointInPolygon(big, 4, 0, 1000000000));
    EXPECT_FALSE(pointInPolygon(big, 0, 0, 0));
}

} // namespace
} // namespace korvane
