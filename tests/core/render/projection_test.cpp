#include <gtest/gtest.h>

#include "render/projection.h"
#include "render_fixtures.h"

namespace korvane {
namespace {

TEST(Projection, PlacesPointsAsTheStartViewShowsThem) {
    GameState g;
    EXPECT_EQ(projectPerspective(g, 1, 0, 0), (Point{170, 145}));
    EXPECT_EQ(projectParallel(g, 1, 0), (Point{180, 145}));
    EXPECT_EQ(projectPerspective(g, 0, 0, 0), (Point{120, 145}));
    // Model +y is drawn downwards; nearer points lie further out.
    EXPECT_EQ(projectPerspective(g, 0, 1, 0), (Point{120, 195}));
    EXPECT_EQ(projectPerspective(g, 1, 0, 1), (Point{180, 145}));
    g.zoom = 0.2;
    EXPECT_EQ(projectPerspective(g, 1, -1, 1), (Point{130, 135}));
    g.zoom = 2.0;
    EXPECT_EQ(projectPerspective(g, 1, -1, 1), (Point{220, 45}));
}

TEST(Projection, TruncatesTowardZero) {
    EXPECT_EQ(truncToPixel(-0.3), 0);
    EXPECT_EQ(truncToPixel(145.9), 145);
    EXPECT_EQ(truncToPixel(-2.7), -2);
    GameState g;
    g.zoom = 1.0;
    g.centreX = g.centreY = 0.0;
    // 2.25 pixels either side of the centre: the floor would give -3.
    EXPECT_EQ(projectParallel(g, -0.045, 0.045), (Point{-2, 2}));
    EXPECT_EQ(projectPerspective(g, 0.054, -0.054, 0), (Point{2, -2}));
}

struct FaceTestCase {
    int type;
    double nz;
    bool visible;
};
class FaceTest : public ::testing::TestWithParam<FaceTestCase> {};

TEST_P(FaceTest, DrawsOnlyPastTheThresholdOfTheKind) {
    EXPECT_EQ(faceVisible(GetParam().type, GetParam().nz), GetParam().visible);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, FaceTest,
                         ::testing::Values(FaceTestCase{kCube, 0.15, false},
                                           FaceTestCase{kPiracube, 0.1500001, true},
                                           FaceTestCase{kTetrahedron, 0.0, false},
                                           FaceTestCase{kTetrahedron, 1e-12, true},
                                           FaceTestCase{kSphere, 0.0, true},
                                           FaceTestCase{kSphere, -1e-12, false}));

// Each outline runs around its own face: its corners lie on the face, neighbours share an edge.
TEST(FaceSlots, OutlinesRunAroundTheirFaces) {
    auto dot = [](const double* p, const double* q) {
        return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
    };
    for (int face = 0; face < kFaces; ++face) {
        const int* outline = kCubeFaceSlots[face].outline;
        for (int i = 0; i < 4; ++i) {
            const double* p = testing::kCubeCorners[outline[i]];
            EXPECT_EQ(dot(p, testing::kCubeNormals[face]), 1.0) << "face " << face;
            EXPECT_EQ(dot(p, testing::kCubeCorners[outline[(i + 1) % 4]]), 1.0) << "face " << face;
        }
    }
    for (const TetraFaceSlot& slot : kTetraFaceSlots) {
        for (int corner : slot.outline) {
            EXPECT_EQ(dot(testing::kTetraCorners[corner], testing::kTetraNormals[slot.normal]),
                      1.0);
        }
    }
}

} // namespace
} // namespace korvane
