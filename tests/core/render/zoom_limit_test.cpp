// The largest zoom per kind: built and drawn puzzles at that zoom in random orientations stay
// inside the picture, and come close enough to its edge that the limit gives nothing away.

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "fakes/recording_canvas.h"
#include "render/projection.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "render/renderer.h"
#include "render/zoom_limit.h"

namespace korvane {
namespace {

TEST(ZoomLimit, KeepsEveryPuzzleInsideThePictureInAnyOrientation) {
    std::vector<std::pair<int, int>> puzzles{{kPiracube, 3}, {kSphere, 1}};
    for (int n = 1; n <= kMaxCubeSize; ++n) {
        puzzles.emplace_back(kCube, n);
    }
    for (int n = 1; n <= kMaxTetraSize; ++n) {
        puzzles.emplace_back(kTetrahedron, n);
    }
    std::mt19937 random(12);
    std::uniform_real_distribution<double> angle(0.0, 360.0);
    const PictureArea& a = kPuzzlePicture;
    for (const auto& [type, level] : puzzles) {
        SCOPED_TRACE(::testing::Message() << "kind " << type << " level " << level);
        Puzzle g;
        View view;
        buildPuzzleState(g, type, level);
        view.zoom = zoomLimit(g, view);
        ASSERT_LE(view.zoom, kZoomMax);
        ASSERT_GT(view.zoom, 1.2); // the zoom a game starts at stays allowed
        // Orientations near the edge are a few percent of all, so small puzzles get many; the
        // worst overshoot past any side, in pixels (negative: inside).
        int worst = -1000;
        for (int i = 0; i < (level > 6 ? 40 : 400); ++i) {
            spinX(g, angle(random));
            spinY(g, angle(random));
            testing::RecordingCanvas canvas;
            ScreenRecords screen;
            drawWholePuzzle(g, view, canvas, screen);
            for (const auto& call : canvas.polygons()) {
                for (const Point& p : call.points) {
                    worst =
                        std::max({worst, a.left - p.x, p.x - a.right, a.top - p.y, p.y - a.bottom});
                }
            }
        }
        EXPECT_LE(worst, 0);
        if (view.zoom < kZoomMax && level <= 6) {
            EXPECT_GE(worst, -3); // within three pixels of the edge
        }
    }
    // The area sets the limit: none when the centre lies outside it, less for less room.
    EXPECT_EQ(zoomLimit(kTetrahedron, 2, {200, 24, 239, 319, 120.0, 145.0}), 0.0);
    EXPECT_LT(zoomLimit(kCube, 4, {60, 85, 179, 204, 120.0, 145.0}), zoomLimit(kCube, 4));
    EXPECT_EQ(zoomLimit(kCube, 4, {-1000, -1000, 1000, 1000, 120.0, 145.0}), kZoomMax);
    EXPECT_EQ(zoomLimit(99, 1), kZoomMax);
}

} // namespace
} // namespace korvane
