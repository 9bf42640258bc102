#include <gtest/gtest.h>

#include <vector>

#include "render/animation.h"
#include "render_fixtures.h"

namespace korvane {
namespace {

using Order = std::vector<std::pair<int, bool>>;
constexpr bool T = true;  // drawn turned
constexpr bool S = false; // drawn still

// Pieces of a level-3 frame when the face that layer 0 of the axis holds has normal z = nz and
// every other face the opposite.
Order framePieces(int type, int axis, double nz, int turning) {
    GameState g = testing::solvedPuzzle(type, 3);
    constexpr int kCubeNormal[3] = {0, 2, 5};
    constexpr int kTetraNormal[4] = {2, 3, 1, 0};
    const int layerZeroNormal = type == kCube ? kCubeNormal[axis - 1] : kTetraNormal[axis - 1];
    for (int i = 0; i < kFaces; ++i) {
        g.faceNormal[i][2] = i == layerZeroNormal ? nz : -nz;
    }
    g.turnAxis = axis;
    FramePiece out[kMaxFramePieces];
    Order order;
    for (int i = 0, count = axisFramePieces(g, turning, out); i < count; ++i) {
        order.emplace_back(out[i].code, out[i].turned);
    }
    return order;
}

struct OrderCase {
    int type;
    double nz;
    int turning;
    Order order;
};
class PainterOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(PainterOrder, DrawsFarPartsFirstOnEveryAxis) {
    const OrderCase& c = GetParam();
    for (int axis = 1; axis <= (c.type == kCube ? 3 : 4); ++axis) {
        EXPECT_EQ(framePieces(c.type, axis, c.nz, c.turning), c.order) << "axis " << axis;
    }
}

const Order kCubeFar{{-6, S}, {-5, S}, {-6, T}, {-5, T}, {0, S}, {-6, T}, {1, T}, {2, S}, {3, S}};
const Order kTetraFar{{-6, S}, {1, S}, {0, S}, {-7, T}, {2, T}, {3, S}};

INSTANTIATE_TEST_SUITE_P(
    Kinds, PainterOrder,
    ::testing::Values(
        OrderCase{kCube, -0.5, 1, kCubeFar}, OrderCase{kCube, 0.0, 1, kCubeFar},
        OrderCase{kCube,
                  0.5,
                  1,
                  {{-5, S}, {-6, S}, {-5, T}, {-6, T}, {2, S}, {3, S}, {-5, T}, {1, T}, {0, S}}},
        // The outer layer's outer cut draws nothing but keeps its place.
        OrderCase{kCube,
                  -0.5,
                  0,
                  {{-5, S}, {-4, S}, {-5, T}, {-4, T}, {-5, T}, {0, T}, {1, S}, {2, S}, {3, S}}},
        OrderCase{kTetrahedron, -0.5, 2, kTetraFar}, OrderCase{kTetrahedron, 0.0, 2, kTetraFar},
        OrderCase{kTetrahedron, 0.5, 2, {{-7, S}, {3, S}, {-6, T}, {2, T}, {1, S}, {0, S}}}));

TEST(FrameOrder, NothingForOtherKindsAxesOrLayers) {
    EXPECT_TRUE(framePieces(kCube, 1, 0.5, 4).empty());
    EXPECT_TRUE(framePieces(kCube, 1, 0.5, -1).empty());
    EXPECT_TRUE(framePieces(kPiracube, 1, 0.5, 1).empty());
}

} // namespace
} // namespace korvane
