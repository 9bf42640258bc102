#include <gtest/gtest.h>

#include "input/zoom.h"

namespace korvane {
namespace {

TEST(ZoomButton, CoversOnlyTheTwoButtons) {
    struct {
        int x, y, button;
    } cases[] = {{10, 10, -1}, {0, 0, -1},  {20, 20, -1}, {30, 10, +1}, {22, 0, +1},
                 {37, 20, +1}, {21, 10, 0}, {38, 10, 0},  {10, 21, 0},  {30, 21, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(zoomButtonAt(c.x, c.y), c.button) << "(" << c.x << ", " << c.y << ")";
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
    EXPECT_EQ(stepsUntil(kZoomMin, +1, kZoomMax), 90);
    EXPECT_EQ(steppedZoom(kZoomMax, +1), kZoomMax);
    EXPECT_EQ(steppedZoom(kZoomMin, -1), kZoomMin);
    EXPECT_EQ(steppedZoom(1.2, 0), 1.2);
}

} // namespace
} // namespace korvane
