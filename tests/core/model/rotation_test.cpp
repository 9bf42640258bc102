#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "sticker_geometry.h"

namespace korvane {
namespace {

using testing::Vec3;

constexpr double kEps = 1e-12;

Vec3 toVec(const double* p) {
    return {p[0], p[1], p[2]};
}

void expectNear(Vec3 got, Vec3 want, double eps = kEps) {
    EXPECT_NEAR(got[0], want[0], eps);
    EXPECT_NEAR(got[1], want[1], eps);
    EXPECT_NEAR(got[2], want[2], eps);
}

// ---- Spins -----------------------------------------------------------------------------------

struct SpinCase {
    bool aboutY;
    double angle;
    Vec3 from;
    Vec3 to;
};

class Spin : public ::testing::TestWithParam<SpinCase> {};

TEST_P(Spin, TurnsPointsRightHanded) {
    const SpinCase& c = GetParam();
    GameState g;
    g.puzzleType = kCube;
    for (auto& p : g.corner) {
        std::copy(c.from.begin(), c.from.end(), p);
    }
    c.aboutY ? spinY(g, c.angle) : spinX(g, c.angle);
    for (const auto& p : g.corner) {
        expectNear(toVec(p), c.to);
    }
}

INSTANTIATE_TEST_SUITE_P(QuarterTurns, Spin,
                         ::testing::Values(SpinCase{false, 90, {0, 1, 0}, {0, 0, 1}},
                                           SpinCase{false, 90, {0, 0, 1}, {0, -1, 0}},
                                           SpinCase{false, 90, {1, 0, 0}, {1, 0, 0}},
                                           SpinCase{true, 90, {1, 0, 0}, {0, 0, -1}},
                                           SpinCase{true, 90, {0, 0, 1}, {1, 0, 0}},
                                           SpinCase{true, -90, {0, 0, -1}, {1, 0, 0}},
                                           SpinCase{true, 90, {0, 1, 0}, {0, 1, 0}}),
                         [](const auto& info) {
                             const int angle = static_cast<int>(info.param.angle);
                             return std::string(info.param.aboutY ? "Y" : "X") +
                                    (angle < 0 ? "Minus" : "") + std::to_string(std::abs(angle)) +
                                    "_" + std::to_string(info.index);
                         });

TEST(Spin, SphereMovesOnlyItsPoints) {
    GameState g;
    buildPuzzleState(g, kSphere, 2);
    const GameState before = g;
    spinX(g, 30);
    EXPECT_EQ(0, std::memcmp(g.corner, before.corner, sizeof g.corner));
    EXPECT_EQ(0, std::memcmp(g.faceNormal, before.faceNormal, sizeof g.faceNormal));
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 8; ++j) {
            for (int k = 0; k < 5; ++k) {
                const Vec3 want =
                    testing::rotateRightHanded(toVec(before.spherePoint[i][j][k]), {1, 0, 0}, 30);
                expectNear(toVec(g.spherePoint[i][j][k]), want);
            }
        }
    }
}

// Every kind but the sphere spins all 8 corners and 6 normals, used or not.
TEST(Spin, TetrahedronTurnsEveryCornerAndNormal) {
    GameState g;
    g.puzzleType = kTetrahedron;
    for (int i = 0; i < kCorners; ++i) {
        g.corner[i][1] = 1.0 + i;
    }
    for (int i = 0; i < kFaces; ++i) {
        g.faceNormal[i][1] = 1.0 + i;
    }
    spinY(g, 90);
    spinX(g, 90);
    for (int i = 0; i < kCorners; ++i) {
        expectNear(toVec(g.corner[i]), {0, 0, 1.0 + i});
    }
    for (int i = 0; i < kFaces; ++i) {
        expectNear(toVec(g.faceNormal[i]), {0, 0, 1.0 + i});
    }
    EXPECT_EQ(g.spherePoint[0][0][0][0], 0.0);
}

// ---- Rotation about the turn axis ------------------------------------------------------------

struct AxisCase {
    int kind;
    int axis;
};

std::vector<AxisCase> everyAxis() {
    std::vector<AxisCase> out;
    for (int a = 1; a <= 3; ++a) {
        out.push_back({kCube, a});
    }
    for (int a = 1; a <= 4; ++a) {
        out.push_back({kTetrahedron, a});
    }
    for (int c = 0; c < 8; ++c) {
        out.push_back({kPiracube, c});
    }
    return out;
}

Vec3 axisOf(const GameState& g, const AxisCase& c) {
    static constexpr int kCubeNormal[4] = {-1, 0, 2, 4};
    static constexpr int kTetraNormal[5] = {-1, 2, 3, 1, 0};
    switch (c.kind) {
    case kCube:
        return toVec(g.faceNormal[kCubeNormal[c.axis]]);
    case kTetrahedron:
        return toVec(g.faceNormal[kTetraNormal[c.axis]]);
    default:
        return toVec(g.corner[c.axis]);
    }
}

class ModelRotation : public ::testing::TestWithParam<AxisCase> {
protected:
    void SetUp() override {
        buildPuzzleState(g, GetParam().kind, 2);
        spinX(g, 17); // off the standard view, so no axis component is special
        spinY(g, -29);
        g.turnAxis = GetParam().axis;
    }
    GameState g;
};

TEST_P(ModelRotation, IsRightHandedAboutTheTurnAxis) {
    const GameState before = g;
    const Vec3 axis = axisOf(g, GetParam());
    rotateModel(g, 37);
    for (int i = 0; i < kCorners; ++i) {
        expectNear(toVec(g.corner[i]),
                   testing::rotateRightHanded(toVec(before.corner[i]), axis, 37), 1e-9);
    }
    for (int i = 0; i < kFaces; ++i) {
        expectNear(toVec(g.faceNormal[i]),
                   testing::rotateRightHanded(toVec(before.faceNormal[i]), axis, 37), 1e-9);
    }
}

TEST_P(ModelRotation, ForwardThenBackRestoresTheModel) {
    const GameState before = g;
    for (double angle : {12.0, 45.0, -120.0}) {
        rotateModel(g, angle);
        rotateModel(g, -angle);
    }
    for (int i = 0; i < kCorners; ++i) {
        expectNear(toVec(g.corner[i]), toVec(before.corner[i]), 1e-12);
    }
    for (int i = 0; i < kFaces; ++i) {
        expectNear(toVec(g.faceNormal[i]), toVec(before.faceNormal[i]), 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryAxis, ModelRotation, ::testing::ValuesIn(everyAxis()),
                         [](const auto& info) {
                             return testing::kindName(info.param.kind) +
                                    std::to_string(info.param.axis);
                         });

TEST(ModelRotation, PiracubeCornerFiveStaysOnItsAxis) {
    GameState g;
    buildPuzzleState(g, kPiracube, 2);
    g.turnAxis = 5;
    const Vec3 c5 = toVec(g.corner[5]);
    rotateModel(g, 120);
    expectNear(toVec(g.corner[5]), c5, 1e-12);
    // The opposite corner lies on the same line and stays put too.
    expectNear(toVec(g.corner[2]), {-c5[0], -c5[1], -c5[2]}, 1e-12);
}

// An axis along x (v = w = 0) falls back to the plain x rotation by the same angle, whichever
// way the axis points.
TEST(ModelRotation, AxisAlongXUsesTheXRotation) {
    for (double u : {1.0, -1.0}) {
        GameState g;
        g.puzzleType = kCube;
        g.turnAxis = 3;
        g.faceNormal[4][0] = u;
        g.corner[0][1] = 1.0;
        rotateModel(g, 90);
        expectNear(toVec(g.corner[0]), {0, 0, 1});
        expectNear(toVec(g.faceNormal[4]), {u, 0, 0});
    }
}

// A kind without turn axes (the sphere) has no axis vector and so gets the x rotation.
TEST(ModelRotation, KindWithoutAxisUsesTheXRotation) {
    GameState g;
    g.puzzleType = kSphere;
    g.turnAxis = 1;
    g.corner[3][2] = 1.0;
    rotateModel(g, 90);
    expectNear(toVec(g.corner[3]), {0, -1, 0});
}

} // namespace
} // namespace korvane
