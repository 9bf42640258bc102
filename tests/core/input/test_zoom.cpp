#include <gtest/gtest.h>

#include "input/zoom.h"

namespace korvane {
namespace {

struct ButtonCase {
    int x;
    int y;
    int button;
};

class ZoomButton : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(ZoomButton, CoversOnlyTheTwoButtons) {
    const ButtonCase& c = GetParam();
    EXPECT_EQ(zoomButtonAt(c.x, c.y), c.button) << "(" << c.x << ", " << c.y << ")";
}

INSTANTIATE_TEST_SUITE_P(Cases, ZoomButton,
                         ::testing::Values(ButtonCase{10, 10, -1}, ButtonCase{0, 0, -1},
                                           ButtonCase{20, 20, -1}, ButtonCase{30, 10, +1},
                                           ButtonCase{22, 0, +1}, ButtonCase{37, 20, +1},
                                           ButtonCase{21, 10, 0}, ButtonCase{38, 10, 0},
                                           ButtonCase{10, 21, 0}, ButtonCase{30, 21, 0}));

int stepsUntil(double from, int dir, double bound) {
    double zoom = from;
    for (int step = 1; step <= 200; ++step) {
        zoom = steppedZoom(zoom, dir);
        if (zoom == bound) {
            return step;
        }
    }
    return -1;
}

TEST(ZoomStep, ReachesTheBoundsExactlyAfterTheRightNumberOfSteps) {
    EXPECT_EQ(stepsUntil(1.2, +1, kZoomMax), 40);
    EXPECT_EQ(stepsUntil(1.2, -1, kZoomMin), 50);
    EXPECT_EQ(stepsUntil(kZoomMax, -1, kZoomMin), 90);
    EXPECT_EQ(stepsUntil(kZoomMin, +1, kZoomMax), 90);
}

TEST(ZoomStep, StaysAtItsBoundsAndStandsStillWithoutADirection) {
    EXPECT_EQ(steppedZoom(kZoomMax, +1), kZoomMax);
    EXPECT_EQ(steppedZoom(kZoomMin, -1), kZoomMin);
    EXPECT_EQ(steppedZoom(1.99, +1), kZoomMax);
    EXPECT_EQ(steppedZoom(0.21, -1), kZoomMin);
    EXPECT_EQ(steppedZoom(1.2, 0), 1.2);
    EXPECT_DOUBLE_EQ(steppedZoom(1.2, -1), 1.18);
}

} // namespace
} // namespace korvane
