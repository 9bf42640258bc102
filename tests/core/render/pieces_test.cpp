#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "model/puzzle_build.h"
#include "render/projection.h"
#include "render/sticker.h"
#include "render_fixtures.h"

namespace korvane {
namespace {

using testing::kCubeCorners;
using testing::kTetraCorners;
using testing::render;
using Cells = std::vector<std::pair<int, int>>;

constexpr int kLevel = 2;
constexpr int kLayers = kLevel + 1;

// The corners Q0.. of each colour face as the stickers are numbered.
constexpr int kCubeFaceCorners[kFaces][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                             {2, 3, 7, 6}, {1, 3, 7, 5}, {0, 2, 6, 4}};
constexpr int kTetraFaceCorners[4][3] = {{3, 1, 0}, {3, 0, 2}, {0, 1, 2}, {2, 1, 3}};
constexpr int kSlotColourFace[4] = {1, 3, 0, 2};
constexpr int kSlotNormal[4] = {2, 3, 1, 0};
constexpr int kTetraEndFace[4] = {1, 3, 0, 2}; // by axis: the face layer 0 holds

// A sticker's centre in space from its face's corners: Q0 + (Q1 - Q0) u / n + (Q3 - Q0) v / n.
void centreOf(const double (*corners)[3], const int* q, int last, double u, double v, double* c) {
    for (int k = 0; k < 3; ++k) {
        const double q0 = corners[q[0]][k];
        c[k] =
            q0 + (corners[q[1]][k] - q0) * u / kLayers + (corners[q[last]][k] - q0) * v / kLayers;
    }
}

int layerAt(double depth) {
    return std::min(static_cast<int>(std::floor(depth * kLayers)), kLevel);
}

// Layer 0 of axis 1 holds the +z face, of axis 2 the +y face, of axis 3 the -x face.
int cubeLayer(int face, int axis, int a, int b) {
    double c[3];
    centreOf(kCubeCorners, kCubeFaceCorners[face], 3, a + 0.5, b + 0.5, c);
    const double depth[3] = {(1 - c[2]) / 2, (1 - c[1]) / 2, (c[0] + 1) / 2};
    return layerAt(depth[axis - 1]);
}

// Layer 0 is the axis's end face and the last layer holds the opposite corner, the apex; the
// corners of a tetrahedron meet each other at a dot product of -1.
int tetraLayer(int slot, int axis, int a, int b) {
    const int* end = kTetraFaceCorners[kTetraEndFace[axis - 1]];
    int apex = 0;
    while (std::count(end, end + 3, apex) != 0) {
        ++apex;
    }
    const double shift = b % 2 == 0 ? 1.0 / 3 : 2.0 / 3;
    double c[3];
    centreOf(kTetraCorners, kTetraFaceCorners[kSlotColourFace[slot - 1]], 2, a + shift,
             b / 2 + shift, c);
    return layerAt((1 + c[0] * kTetraCorners[apex][0] + c[1] * kTetraCorners[apex][1] +
                    c[2] * kTetraCorners[apex][2]) /
                   4);
}

// One face shown alone: a full redraw leaves its records, then the piece is named by them.
Cells cellsOfPiece(GameState g, int slot, int cellPoints) {
    render(g, 1);
    const GameState recorded = g;
    g.stickerPoly[slot - 1][0][0].p[0] = {-7, -7};
    const auto piece = render(g, 2);
    EXPECT_EQ(g.stickerPoly[slot - 1][0][0].p[0], (Point{-7, -7})) << "pieces store no record";
    return testing::cellsDrawn(recorded, slot, piece, cellPoints);
}

class CubeLayerPiece : public ::testing::TestWithParam<std::tuple<int, int>> {};
class TetraLayerPiece : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(CubeLayerPiece, DrawsTheStickersLyingInTheLayer) {
    const auto [axis, layer] = GetParam();
    for (int face = 0; face < kFaces; ++face) {
        GameState g = testing::solvedPuzzle(kCube, kLevel);
        testing::showOnlyNormal(g, face);
        g.turnAxis = axis;
        g.layer = layer;
        Cells expected;
        for (int a = 0; a <= kLevel; ++a) {
            for (int b = 0; b <= kLevel; ++b) {
                if (cubeLayer(face, axis, a, b) == layer) {
                    expected.emplace_back(a, b);
                }
            }
        }
        EXPECT_EQ(cellsOfPiece(g, face / 2 + 1, 4), expected) << "face " << face;
    }
}

TEST_P(TetraLayerPiece, DrawsTheTrianglesLyingInTheLayer) {
    const auto [axis, layer] = GetParam();
    for (int slot = 1; slot <= 4; ++slot) {
        GameState g = testing::solvedPuzzle(kTetrahedron, kLevel);
        testing::showOnlyNormal(g, kSlotNormal[slot - 1]);
        g.turnAxis = axis;
        g.layer = layer;
        Cells expected;
        for (int inverted : {0, 1}) {
            for (int m = 0; m <= kLevel; ++m) {
                for (int a = 0; a + m + inverted <= kLevel; ++a) {
                    if (tetraLayer(slot, axis, a, 2 * m + inverted) == layer) {
                        expected.emplace_back(a, 2 * m + inverted);
                    }
                }
            }
        }
        EXPECT_EQ(cellsOfPiece(g, slot, 3), expected) << "slot " << slot;
    }
}

INSTANTIATE_TEST_SUITE_P(AxesAndLayers, CubeLayerPiece,
                         ::testing::Combine(::testing::Range(1, 4), ::testing::Range(0, kLayers)));
INSTANTIATE_TEST_SUITE_P(AxesAndLayers, TetraLayerPiece,
                         ::testing::Combine(::testing::Range(1, 5), ::testing::Range(0, kLayers)));

TEST(CutPiece, IsOneBlackPolygonAThirdOfTheWayInAndOnlyForInnerDepths) {
    // Cube: face 0's corners project to (60..180, 85..205), face 1's to (77..162, 102..187).
    GameState cube = testing::solvedPuzzle(kCube, 2);
    // Tetrahedron: a third of the way from corners 3, 0, 2 to the apex, corner 1 at (180, 85).
    GameState tetra = testing::solvedPuzzle(kTetrahedron, 2);
    const std::vector<Point> expected[2] = {{{65, 199}, {174, 199}, {174, 90}, {65, 90}},
                                            {{100, 85}, {100, 165}, {180, 165}}};
    int kind = 0;
    for (GameState* g : {&cube, &tetra}) {
        g->turnAxis = 1;
        g->layer = -5;
        const auto canvas = render(*g, 2);
        ASSERT_EQ(canvas.calls.size(), 1u);
        EXPECT_EQ(canvas.calls[0].points, expected[kind++]);
        EXPECT_EQ(canvas.calls[0].brush, kBlackBrush);
        EXPECT_EQ(canvas.calls[0].pen, Pen::Thin);
        for (int outside : {-4, -7, 3}) {
            g->layer = outside;
            EXPECT_TRUE(render(*g, 2).calls.empty()) << outside;
        }
    }
}

GameState faceOnPiracube(int shownFace) {
    GameState g;
    buildPuzzleState(g, kPiracube, 2);
    std::copy(&kCubeCorners[0][0], &kCubeCorners[0][0] + 24, &g.corner[0][0]);
    testing::showOnlyNormal(g, shownFace);
    return g;
}

TEST(PiracubePiece, DrawsTheStickersOfItsHalfAfterTheCutOfTheStillHalf) {
    const int positionOf[kFaces] = {0, 1, 2, 4, 3, 5}; // the mask's order of the faces
    for (int face : {0, 3, 4}) {
        for (int c = 0; c < kCorners; ++c) {
            for (int part = 0; part <= 1; ++part) {
                GameState g = faceOnPiracube(face);
                render(g, 1);
                g.turnAxis = c;
                g.drawTurningPart = part;
                const auto piece = render(g, 2);
                std::vector<int> expected;
                std::vector<int> drawn;
                for (int k = 0; k < 5; ++k) {
                    if (g.piraMask[c][positionOf[face]][k] == part) {
                        expected.push_back(k);
                    }
                }
                const auto polygons = piece.polygons();
                ASSERT_FALSE(polygons.empty());
                EXPECT_EQ(polygons[0].points.size() == 6, part == 0);
                if (polygons.size() > 1 && polygons[part == 0 ? 1 : 0].points.size() == 4) {
                    drawn.push_back(0);
                }
                for (auto [a, b] : testing::cellsDrawn(g, face / 2 + 1, piece, 3)) {
                    drawn.push_back(1 + 2 * (a - 1) + b);
                }
                EXPECT_EQ(drawn, expected)
                    << "face " << face << " corner " << c << " part " << part;
            }
        }
    }
}

int sharedCoordinates(std::initializer_list<int> corners) {
    int shared = 0;
    for (int k = 0; k < 3; ++k) {
        shared += std::all_of(corners.begin(), corners.end(), [&](int i) {
            return kCubeCorners[i][k] == kCubeCorners[*corners.begin()][k];
        });
    }
    return shared;
}

TEST(PiracubePiece, CutHexagonJoinsTheMiddlesOfTheEdgesAroundTheDiagonal) {
    GameState g = faceOnPiracube(0);
    Point p[kCorners];
    for (int i = 0; i < kCorners; ++i) {
        p[i] = projectPerspective(g, g.corner[i][0], g.corner[i][1], g.corner[i][2]);
    }
    for (int c = 0; c < kCorners; ++c) {
        g.turnAxis = c;
        const auto hexagon = render(g, 2).polygons().at(0);
        ASSERT_EQ(hexagon.points.size(), 6u);
        Cells edges;
        for (const Point& point : hexagon.points) {
            for (int i = 0; i < kCorners; ++i) {
                for (int j = i + 1; j < kCorners; ++j) {
                    if (sharedCoordinates({i, j}) == 2 &&
                        (midpoint(p[i], p[j]) == point || midpoint(p[j], p[i]) == point)) {
                        edges.emplace_back(i, j);
                    }
                }
            }
        }
        ASSERT_EQ(edges.size(), 6u) << "corner " << c;
        for (std::size_t s = 0; s < 6; ++s) {
            const auto [i, j] = edges[s];
            EXPECT_TRUE(i != c && j != c && i != 7 - c && j != 7 - c) << "corner " << c;
            EXPECT_EQ(
                sharedCoordinates({i, j, edges[(s + 1) % 6].first, edges[(s + 1) % 6].second}), 1)
                << "corner " << c << " side " << s;
        }
    }
}

} // namespace
} // namespace korvane
