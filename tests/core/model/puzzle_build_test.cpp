#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "model/game_rules.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "sticker_geometry.h"

namespace korvane {
namespace {

using testing::Vec3;

Vec3 toVec(const double* p) {
    return {p[0], p[1], p[2]};
}

void expectNear(Vec3 got, Vec3 want, double eps) {
    EXPECT_NEAR(got[0], want[0], eps);
    EXPECT_NEAR(got[1], want[1], eps);
    EXPECT_NEAR(got[2], want[2], eps);
}

// A state left behind by a game in progress, so that a build has everything to reset.
GameState playedState() {
    GameState g;
    g.moveCount = 7;
    g.clockRunning = 1;
    g.undoState = 0;
    g.layer = 3;
    g.turnAxis = 2;
    g.gestureState = 2;
    g.animFrames = 1.0;
    for (auto& plane : g.stickerColour) {
        for (auto& row : plane) {
            for (int& c : row) {
                c = 99;
            }
        }
    }
    return g;
}

struct BuildCase {
    int type;
    int level;
    double size;
    double twoSize;
    double animFrames;
    int perColour;
};

class Build : public ::testing::TestWithParam<BuildCase> {};

TEST_P(Build, MakesASolvedPuzzleAndStopsTheGame) {
    const BuildCase& c = GetParam();
    GameState g = playedState();
    buildPuzzleState(g, c.type, c.level);
    EXPECT_EQ(g.puzzleType, c.type);
    EXPECT_EQ(g.size, c.size);
    EXPECT_EQ(g.twoSize, c.twoSize);
    EXPECT_EQ(g.animFrames, c.animFrames);
    EXPECT_EQ(stickersPerColour(g), c.perColour);
    EXPECT_EQ(g.moveCount, 0);
    EXPECT_EQ(g.clockRunning, 0);
    EXPECT_EQ(g.undoState, -1);
    EXPECT_EQ(g.layer, 0);
    EXPECT_EQ(g.turnAxis, 0);
    EXPECT_EQ(g.gestureState, 0);
    EXPECT_TRUE(isSolved(g));
}

// Every written cell carries its face's number; the cells past the puzzle keep what they held
// (all of them for the sphere, which has no stickers).
TEST_P(Build, ColoursEveryStickerWithItsFace) {
    const BuildCase& c = GetParam();
    GameState g = playedState();
    buildPuzzleState(g, c.type, c.level);
    const int n = sizeLevel(g);
    const int faces = c.type == kSphere ? 0 : (c.type == kTetrahedron ? 4 : 6);
    const int lastB = c.type == kTetrahedron ? 2 * n : n;
    for (int f = 0; f < kFaces; ++f) {
        int count = 0;
        for (int a = 0; a < kCells; ++a) {
            for (int b = 0; b < kCells; ++b) {
                const bool written = f < faces && a <= n && b <= lastB;
                ASSERT_EQ(g.stickerColour[a][b][f], written ? f : 99)
                    << "face " << f << " cell " << a << "," << b;
                count += written && (c.type == kTetrahedron ? b <= 2 * (n - a) : true);
            }
        }
        if (f < faces && c.type != kPiracube) {
            EXPECT_EQ(count, c.perColour);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    KindsAndLevels, Build,
    ::testing::Values(BuildCase{kCube, 1, 1, 2, 5, 4}, BuildCase{kCube, 4, 4, 8, 5, 25},
                      BuildCase{kCube, 5, 5, 10, 5, 36}, BuildCase{kTetrahedron, 1, 1, 2, 6, 4},
                      BuildCase{kTetrahedron, 4, 4, 8, 6, 25},
                      // The Piracube is always of size 3; twoSize keeps the level asked for.
                      BuildCase{kPiracube, 2, 3, 4, 10, 5}, BuildCase{kPiracube, 1, 3, 2, 10, 5},
                      BuildCase{kSphere, 2, 2, 4, 10, 0},
                      // Levels the arrays cannot hold are clamped.
                      BuildCase{kCube, 0, 1, 2, 5, 4}, BuildCase{kCube, -3, 1, 2, 5, 4},
                      BuildCase{kCube, 99, 17, 34, 5, 324},
                      BuildCase{kTetrahedron, 99, 8, 16, 6, 81},
                      BuildCase{kTetrahedron, 0, 1, 2, 6, 4}),
    [](const auto& info) {
        const int level = info.param.level;
        return testing::kindName(info.param.type) + (level < 0 ? "Minus" : "") +
               std::to_string(level < 0 ? -level : level);
    });

// Undo the standard view (45 about x, then 45 about y) and find the kind's own tables.
TEST(BuildGeometry, IsTheTableTurnedIntoTheStandardView) {
    for (int type : {kCube, kPiracube, kTetrahedron}) {
        GameState g;
        buildPuzzleState(g, type, 2);
        spinY(g, -45);
        spinX(g, -45);
        const int corners = type == kTetrahedron ? 4 : 8;
        for (int i = 0; i < corners; ++i) {
            const Vec3 want =
                type == kTetrahedron ? testing::kTetraCorners[i] : testing::kCubeCorners[i];
            expectNear(toVec(g.corner[i]), want, 1e-12);
        }
        for (int i = 0; i < corners - 2; ++i) {
            // Cube normals are the outward normals of faces 0..5 (+z, -z, +y, -y, +x, -x).
            static constexpr Vec3 kCubeNormals[6] = {{0, 0, 1},  {0, 0, -1}, {0, 1, 0},
                                                     {0, -1, 0}, {1, 0, 0},  {-1, 0, 0}};
            const Vec3 want = type == kTetrahedron ? testing::kTetraNormals[i] : kCubeNormals[i];
            expectNear(toVec(g.faceNormal[i]), want, 1e-12);
        }
    }
}

// The standard view shows three cube faces: no face is seen edge-on.
TEST(BuildGeometry, CubeShowsThreeFaces) {
    for (int type : {kCube, kPiracube}) {
        GameState g;
        buildPuzzleState(g, type, 3);
        int facing = 0;
        for (const auto& n : g.faceNormal) {
            EXPECT_GT(std::fabs(n[2]), 0.3);
            facing += n[2] > 0;
        }
        EXPECT_EQ(facing, 3);
        expectNear(toVec(g.faceNormal[0]), {0.5, -std::sqrt(0.5), 0.5}, 1e-12);
    }
}

TEST(BuildPiracube, FillsItsDrawingTable) {
    GameState g;
    buildPuzzleState(g, kPiracube, 2);
    const int want[2][2][3] = {{{0, 0, 1}, {3, 1, 2}}, {{2, 2, 3}, {1, 3, 0}}};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_EQ(g.piraTable[r][c][k], want[r][c][k]);
            }
        }
    }
}

// R turns a triangular face by a third: three times is no turn, R^2 undoes R, and every
// triangle of the face is the image of exactly one.
TEST(BuildTetrahedron, TriIndexTableIsAThirdTurnOfTheFace) {
    for (int n = 1; n <= 8; ++n) {
        GameState g;
        buildPuzzleState(g, kTetrahedron, n);
        auto image = [&](std::pair<int, int> q, bool byR) {
            const int* e = g.triIndexTable[q.first][q.second / 2];
            const int slot = (q.second % 2 ? 4 : 0) + (byR ? 2 : 0);
            return std::pair<int, int>{e[slot + 1], e[slot]};
        };
        std::set<std::pair<int, int>> images;
        for (int a = 0; a <= n; ++a) {
            for (int b = 0; b <= 2 * (n - a); ++b) {
                const std::pair<int, int> q{a, b};
                const auto r = image(q, true);
                ASSERT_GE(r.first, 0);
                ASSERT_LE(r.first, n);
                ASSERT_GE(r.second, 0);
                ASSERT_LE(r.second, 2 * (n - r.first)) << "n " << n << " q " << a << "," << b;
                EXPECT_EQ(image(r, false), q);
                EXPECT_EQ(image(image(r, true), true), q);
                images.insert(r);
            }
        }
        EXPECT_EQ(static_cast<int>(images.size()), (n + 1) * (n + 1));
    }
}

Vec3 onSphere(double polar, double azimuth, double scale) {
    const double t = polar * std::numbers::pi / 180;
    const double p = azimuth * std::numbers::pi / 180;
    return {scale * std::sin(t) * std::cos(p), scale * std::sin(t) * std::sin(p),
            scale * std::cos(t)};
}

// Facet (i, j) spans polar angles 45i..45(i+1) and azimuths 45-45j..90-45j; its corner points
// are kept as the constants 0, +-0.5, +-0.70710678, +-1.
TEST(BuildSphere, PlacesFacetCornersAndCentreMarks) {
    GameState g;
    buildPuzzleState(g, kSphere, 2);
    spinY(g, -45);
    spinX(g, -45);
    for (int i = 0; i < 4; ++i) {
        const double rim = i < 2 ? 45 : 135;
        const double other = i == 0 ? 0 : (i == 3 ? 180 : 90);
        for (int j = 0; j < 8; ++j) {
            const double lo = 45 - 45.0 * j;
            const double hi = 90 - 45.0 * j;
            const Vec3 want[5] = {
                onSphere(rim, lo, 1), onSphere(rim, hi, 1), onSphere(other, hi, 1),
                onSphere(other, lo, 1),
                onSphere(45 * i + 22.5, 67.5 - 45 * j, (i == 1 || i == 2) ? 1.05 : 0.98)};
            for (int k = 0; k < 5; ++k) {
                expectNear(toVec(g.spherePoint[i][j][k]), want[k], 1e-8);
            }
            for (int k = 0; k < 4; ++k) {
                for (double x : g.spherePoint[i][j][k]) {
                    const double m = std::fabs(x);
                    const bool constant = m < 1e-12 || std::fabs(m - 0.5) < 1e-12 ||
                                          std::fabs(m - 0.70710678) < 1e-12 ||
                                          std::fabs(m - 1) < 1e-12;
                    EXPECT_TRUE(constant) << x << " at " << i << "," << j << "," << k;
                }
            }
        }
    }
}

TEST(BuildUnknownKind, KeepsThePreviousColours) {
    GameState g;
    buildPuzzleState(g, kCube, 2);
    g.stickerColour[1][1][3] = 5;
    g.moveCount = 4;
    buildPuzzleState(g, 9, 2);
    EXPECT_EQ(g.puzzleType, 9);
    EXPECT_EQ(g.moveCount, 0);
    EXPECT_EQ(g.stickerColour[1][1][3], 5);
    EXPECT_EQ(stickersPerColour(g), 0);
}

} // namespace
} // namespace korvane
