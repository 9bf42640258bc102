#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "model/puzzle_build.h"
#include "render/palette.h"
#include "render/sticker.h"
#include "render_fixtures.h"

namespace korvane {
namespace {

using testing::RecordingCanvas;
using testing::render;
using Points = std::vector<Point>;

constexpr Point kJunk{7, 7};

Points pointsOf(const Point* p, int count) {
    return {p, p + count};
}

Points insetOf(Inset rule, const Points& cell) {
    Point out[4];
    insetPolygon(rule, cell.data(), out);
    return {out, out + cell.size()};
}

// Level 2, face 0 looking at the viewer: 40-pixel cells, a following x, b running up the screen.
Points faceOnCell(int a, int b) {
    auto s = [](int u, int v) { return Point{60 + 40 * v, 205 - 40 * u}; };
    return {s(b + 1, a), s(b, a), s(b, a + 1), s(b + 1, a + 1)};
}

TEST(CubeRedraw, DrawsBackgroundThenEachCellBlackUnderItsInsetColour) {
    GameState g = testing::solvedPuzzle(kCube, 2);
    g.bgColour = 1;
    g.stickerColour[1][2][0] = 4;
    std::fill(&g.faceOutline[0][0], &g.faceOutline[0][0] + 16, kJunk);
    const RecordingCanvas canvas = render(g, 1);
    ASSERT_EQ(canvas.calls.size(), 1u + 9u * 2u);
    EXPECT_EQ(canvas.calls[0].op, RecordingCanvas::Op::Rectangle);
    EXPECT_EQ(canvas.calls[0].points, (Points{{-1, -1}, {242, 322}}));
    EXPECT_EQ(canvas.calls[0].brush, kWhiteBrush);
    EXPECT_EQ(faceOnCell(0, 0), (Points{{60, 165}, {60, 205}, {100, 205}, {100, 165}}));
    EXPECT_EQ(insetOf(Inset::CubeCell, faceOnCell(0, 0)),
              (Points{{63, 168}, {63, 202}, {97, 202}, {97, 168}}));
    auto call = canvas.calls.begin() + 1;
    for (int a = 0; a <= 2; ++a) {
        for (int b = 0; b <= 2; ++b, call += 2) {
            EXPECT_EQ(call->points, faceOnCell(a, b)) << a << "," << b;
            EXPECT_EQ(call->brush, kBlackBrush);
            EXPECT_EQ(call->pen, Pen::Thin);
            EXPECT_EQ(call[1].points, insetOf(Inset::CubeCell, faceOnCell(a, b)));
            EXPECT_EQ(call[1].brush.colour,
                      (a == 1 && b == 2 ? Rgb{0, 155, 255} : Rgb{212, 212, 212}));
            EXPECT_EQ(call[1].pen, Pen::Null);
            EXPECT_EQ(pointsOf(g.stickerPoly[0][a][b].p, 4), faceOnCell(a, b));
        }
    }
    EXPECT_EQ(pointsOf(g.faceOutline[0], 4), (Points{{60, 205}, {180, 205}, {180, 85}, {60, 85}}));
    EXPECT_EQ(g.faceSign[0], 1);
    EXPECT_EQ(pointsOf(g.faceOutline[1], 4), Points(4, {-1, -1}));
    EXPECT_EQ(pointsOf(g.faceOutline[2], 4), Points(4, {-1, -1}));
    EXPECT_EQ(g.faceOutline[3][0], kJunk);
    EXPECT_EQ(g.renderMode, 0);
}

TEST(CubeRedraw, DrawsAFaceOnlyPastTheThreshold) {
    GameState g = testing::solvedPuzzle(kCube, 1);
    g.faceNormal[5][2] = 0.15;
    g.stickerPoly[0][2][0].p[0] = kJunk;
    EXPECT_EQ(render(g, 1).polygons().size(), 4u * 2u);
    EXPECT_EQ(g.stickerPoly[0][2][0].p[0], kJunk); // level 1 stores rows 0..1
    g.faceNormal[5][2] = 0.1500001;
    EXPECT_EQ(render(g, 1).polygons().size(), 8u * 2u);
    EXPECT_EQ(g.faceSign[2], -1);
}

TEST(TetrahedronRedraw, LevelFourFaceHasFifteenUprightThenTenInvertedTriangles) {
    GameState g = testing::solvedPuzzle(kTetrahedron, 4);
    g.stickerPoly[3][4][1].p[0] = kJunk;
    const RecordingCanvas canvas = render(g, 1);
    // Normals 0 and 1 face the viewer: slot 3 (colour face 0), then slot 4 (colour face 2).
    EXPECT_EQ(canvas.polygons().size(), 2u * 25u * 2u);
    EXPECT_EQ(canvas.calls[2].brush.colour, (Rgb{212, 212, 212}));
    EXPECT_EQ(canvas.calls.back().brush.colour, (Rgb{0, 155, 255}));
    std::vector<std::pair<int, int>> expected;
    for (int inverted : {0, 1}) {
        for (int m = 0; m <= 4; ++m) {
            for (int a = 0; a + m + inverted <= 4; ++a) {
                expected.emplace_back(a, 2 * m + inverted);
            }
        }
    }
    EXPECT_EQ(expected.size(), 25u);
    EXPECT_EQ(testing::cellsDrawn(g, 4, canvas, 3), expected);
    EXPECT_EQ(pointsOf(g.faceOutline[3], 3), (Points{{60, 205}, {180, 85}, {180, 205}}));
    EXPECT_EQ(pointsOf(g.stickerPoly[3][0][0].p, 3), (Points{{60, 205}, {84, 181}, {84, 205}}));
    EXPECT_EQ(pointsOf(g.stickerPoly[3][0][1].p, 3), (Points{{108, 181}, {84, 181}, {84, 205}}));
    EXPECT_EQ(g.stickerPoly[3][4][1].p[0], kJunk); // row 4 holds one triangle
}

TEST(PiracubeRedraw, DrawsTheCentreDiamondWithoutRecordThenFourCornerTriangles) {
    GameState g;
    buildPuzzleState(g, kPiracube, 2);
    std::copy(&testing::kCubeCorners[0][0], &testing::kCubeCorners[0][0] + 24, &g.corner[0][0]);
    std::copy(&testing::kCubeNormals[0][0], &testing::kCubeNormals[0][0] + 18, &g.faceNormal[0][0]);
    g.stickerPoly[0][0][0].p[0] = kJunk;
    g.faceOutline[1][0] = kJunk;
    const auto polygons = render(g, 1).polygons();
    ASSERT_EQ(polygons.size(), 10u);
    EXPECT_EQ(polygons[0].points, (Points{{120, 205}, {60, 145}, {120, 85}, {180, 145}}));
    EXPECT_EQ(polygons[1].points, insetOf(Inset::PiraDiamond, polygons[0].points));
    EXPECT_EQ(g.stickerPoly[0][0][0].p[0], kJunk);
    EXPECT_EQ(g.faceOutline[1][0], kJunk); // hidden slots keep their outlines
    const Points corners[4] = {{{60, 205}, {120, 205}, {60, 145}},
                               {{60, 85}, {60, 145}, {120, 85}},
                               {{180, 85}, {120, 85}, {180, 145}},
                               {{180, 205}, {180, 145}, {120, 205}}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(polygons[2 + 2 * k].points, corners[k]);
        EXPECT_EQ(pointsOf(g.stickerPoly[0][1 + k / 2][k % 2].p, 3), corners[k]);
    }
}

TEST(SphereRedraw, DrawsVisibleFacetsFlatWithTheSelectedPenAndNoRecords) {
    GameState g;
    g.puzzleType = kSphere;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 8; ++j) {
            // Centres alternately 0.6 and 1.6 pixels right of the axis: their midpoint in
            // doubles is 121.1, where truncating first would give 120.
            g.spherePoint[i][j][4][0] = j % 2 == 0 ? 0.01 : 0.026666666666666667;
            g.spherePoint[i][j][4][2] = i % 2 == 0 ? 0.0 : -0.001;
        }
    }
    g.stickerPoly[0][0][0].p[0] = kJunk;
    RecordingCanvas canvas;
    canvas.pen = Pen::Thick;
    g.renderMode = 1;
    renderPuzzle(g, canvas);
    const auto polygons = canvas.polygons();
    ASSERT_EQ(polygons.size(), 16u);
    const Point c{120, 145};
    for (std::size_t k = 0; k < polygons.size(); ++k) {
        EXPECT_EQ(polygons[k].brush.colour, flatBrushColour(static_cast<int>(k % 8)));
        EXPECT_EQ(polygons[k].pen, Pen::Thick);
        EXPECT_EQ(polygons[k].points, (Points{c, c, {121, 145}, c, c, {121, 145}}));
    }
    EXPECT_EQ(g.stickerPoly[0][0][0].p[0], kJunk);
}

TEST(Renderer, ModeZeroDrawsNothingAndModeTwoOnTheSphereOnlyEndsTheMode) {
    GameState g = testing::solvedPuzzle(kCube, 2);
    EXPECT_TRUE(render(g, 0).calls.empty());
    g.puzzleType = kSphere;
    EXPECT_TRUE(render(g, 2).calls.empty());
    EXPECT_EQ(g.renderMode, 0);
}

} // namespace
} // namespace korvane
