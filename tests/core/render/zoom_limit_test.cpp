// The largest zoom per kind: built and drawn puzzles at that zoom in random orientations stay
// inside the picture, and come close enough to its edge that the limit gives nothing away.

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "fakes/recording_canvas.h"
#include "input/zoom.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "render/renderer.h"
#include "render/zoom_limit.h"

namespace korvane {
namespace {

struct KindLevel {
    int type;
    int level;
};

std::vector<KindLevel> everyKindAndLevel() {
    std::vector<KindLevel> all{{kPiracube, 3}, {kSphere, 1}};
    for (int n = 1; n <= kMaxCubeSize; ++n) {
        all.push_back({kCube, n});
    }
    for (int n = 1; n <= kMaxTetraSize; ++n) {
        all.push_back({kTetrahedron, n});
    }
    return all;
}

// How far past the area the drawing reaches, in pixels, on its worst side (negative: inside).
int overshoot(const testing::RecordingCanvas& canvas, const PictureArea& a) {
    int worst = -1000;
    for (const auto& call : canvas.polygons()) {
        for (const Point& p : call.points) {
            worst = std::max({worst, a.left - p.x, p.x - a.right, a.top - p.y, p.y - a.bottom});
        }
    }
    return worst;
}

TEST(ZoomLimit, KeepsEveryPuzzleInsideThePictureInAnyOrientation) {
    std::mt19937 random(12);
    std::uniform_real_distribution<double> angle(0.0, 360.0);
    for (const KindLevel& k : everyKindAndLevel()) {
        SCOPED_TRACE(::testing::Message() << "kind " << k.type << " level " << k.level);
        GameState g;
        buildPuzzleState(g, k.type, k.level);
        const double limit = zoomLimit(g);
        ASSERT_LE(limit, kZoomMax);
        ASSERT_GT(limit, 1.2); // the start zoom stays allowed
        g.zoom = limit;
        // Orientations near the edge are a few percent of all, so a small puzzle gets many.
        const int orientations = k.level > 6 ? 40 : 400;
        int closest = -1000;
        for (int i = 0; i < orientations; ++i) {
            spinX(g, angle(random));
            spinY(g, angle(random));
            testing::RecordingCanvas canvas;
            g.renderMode = 1;
            renderPuzzle(g, canvas);
            closest = std::max(closest, overshoot(canvas, kPuzzlePicture));
        }
        EXPECT_LE(closest, 0);
        if (limit < kZoomMax && k.level <= 6) {
            EXPECT_GE(closest, -3); // within three pixels of the edge
        }
    }
}

TEST(ZoomLimit, FollowsTheAreaAndNeverRaisesTheLargestZoom) {
    const PictureArea wide{-1000, -1000, 1000, 1000, 120.0, 145.0};
    EXPECT_EQ(zoomLimit(kCube, 3, wide), kZoomMax);
    EXPECT_EQ(zoomLimit(99, 1), kZoomMax);
    const PictureArea none{200, 24, 239, 319, 120.0, 145.0}; // the centre lies outside
    EXPECT_EQ(zoomLimit(kTetrahedron, 2, none), 0.0);
    // Smaller room, smaller limit; the perspective kinds see their near corners larger.
    const PictureArea half{60, 85, 179, 204, 120.0, 145.0};
    EXPECT_LT(zoomLimit(kCube, 4, half), zoomLimit(kCube, 4));
    EXPECT_GT(reachPerZoom(true, 1.5), 5.0 / 6.0 * reachPerZoom(false, 1.5));
}

} // namespace
} // namespace korvane
