// The renderer on a recording canvas: projection and shading, the full redraw with its screen
// records, the animation pieces against the turns, the cuts and the Piracube's halves, and the
// largest zoom of each kind.

#include <algorithm>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/recording_canvas.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "model/turns.h"
#include "render/animation.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/renderer.h"
#include "render/zoom_limit.h"

namespace korvane {
namespace {

using testing::RecordingCanvas;
using Op = RecordingCanvas::Op;
using Points = std::vector<Point>;
using Cells = std::vector<std::pair<int, int>>;

// The cube and tetrahedron in their own frame: the cube's face 0 (+z) looks straight at the
// viewer and at zoom 1.2 projects to x 60..180, y 85..205.
constexpr double kCubeCorners[kCorners][3] = {{-1, 1, 1},  {1, 1, 1},  {-1, -1, 1},  {1, -1, 1},
                                              {-1, 1, -1}, {1, 1, -1}, {-1, -1, -1}, {1, -1, -1}};
constexpr double kCubeNormals[kFaces][3] = {{0, 0, 1},  {0, 0, -1}, {0, 1, 0},
                                            {0, -1, 0}, {1, 0, 0},  {-1, 0, 0}};
constexpr double kTetraCorners[4][3] = {{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}, {-1, -1, -1}};
constexpr double kTetraNormals[4][3] = {{1, 1, 1}, {-1, -1, 1}, {-1, 1, -1}, {1, -1, -1}};
// The normal of the face that layer 0 of each axis holds, [cube, tetrahedron][turnAxis - 1].
constexpr int kLayerZeroNormal[2][4] = {{0, 2, 5}, {2, 3, 1, 0}};
// Tetrahedron slots 1..4: the normal shown and the colour face drawn.
constexpr int kSlotNormal[4] = {2, 3, 1, 0}, kSlotFace[4] = {1, 3, 0, 2};

// A new puzzle of level N turned into that view; with `onlyNormal` set, only that normal passes
// the face test.
Puzzle puzzle(int type, int level, int onlyNormal = -1) {
    Puzzle g;
    buildPuzzleState(g, type, level);
    const bool tetra = type == kTetrahedron;
    std::copy_n(*(tetra ? kTetraCorners : kCubeCorners), tetra ? 12 : 24, *g.corner);
    std::copy_n(*(tetra ? kTetraNormals : kCubeNormals), tetra ? 12 : 18, *g.faceNormal);
    for (int i = 0; i < kFaces && onlyNormal >= 0; ++i)
        g.faceNormal[i][2] = i == onlyNormal ? 1.0 : -1.0;
    return g;
}

RecordingCanvas redraw(const Puzzle& g, ScreenRecords& records, const View& view = {}) {
    RecordingCanvas canvas;
    drawWholePuzzle(g, view, canvas, records);
    return canvas;
}

RecordingCanvas piece(const Puzzle& g, const Move& move, int code) {
    RecordingCanvas canvas;
    drawTurnPiece(g, View{}, move, code, canvas);
    return canvas;
}

const auto pointsOf = [](const Point* p, int count) { return Points(p, p + count); };

// The black cells of `count` points a drawing made, named by the stored record they match.
Cells cellsDrawn(const ScreenRecords& recorded, int slot, const RecordingCanvas& canvas,
                 int count) {
    Cells cells;
    for (const auto& call : canvas.polygons())
        for (int a = 0; a < kCells && call.pen == Pen::Thin; ++a)
            for (int b = 0; b < kCells; ++b)
                if (pointsOf(recorded.stickerPoly[slot - 1][a][b].p, count) == call.points)
                    cells.emplace_back(a, b);
    return cells;
}

// Pixels at the start view (zoom 1.2, centre 120, 145) and other zooms: model +y is drawn
// downwards, nearer points lie further out, and coordinates truncate toward zero (the last
// two rows land between -3 and -2). Then the face test of each kind.
TEST(Projection, PixelsAndFaceTests) {
    // Perspective (or parallel), zoom, x, y, z and the pixel.
    using Row = std::tuple<bool, double, double, double, double, Point>;
    for (const auto& [perspective, zoom, x, y, z, want] :
         {Row{true, 1.2, 1, 0, 0, {170, 145}}, Row{false, 1.2, 1, 0, 0, {180, 145}},
          Row{true, 1.2, 0, 1, 0, {120, 195}}, Row{true, 1.2, 1, 0, 1, {180, 145}},
          Row{false, 1.2, -2.045, -2.46, 0, {-2, -2}}, Row{true, 1.2, -2.45, -2.95, 0, {-2, -2}}}) {
        const View g{.zoom = zoom};
        const Point got = perspective ? projectPerspective(g, x, y, z) : projectParallel(g, x, y);
        EXPECT_TRUE(got == want) << x << "," << y << "," << z << ": " << got.x << "," << got.y;
    }
    for (const auto& [kind, nz, visible] :
         {std::tuple{kCube, 0.15, false}, std::tuple{kPiracube, 0.1500001, true},
          std::tuple{kTetrahedron, 0.0, false}, std::tuple{kTetrahedron, 1e-12, true},
          std::tuple{kSphere, 0.0, true}, std::tuple{kSphere, -1e-12, false}})
        EXPECT_EQ(faceVisible(kind, nz), visible) << kind << " " << nz;
}

// The shade B of a face and the sticker colours made from it: nz 0.2 gives B 130 and F 30
// (130 x 10/13 lies just below 100); F never drops below zero; B is limited to 255; the
// tetrahedron's numbers take the cube's rows 0, 5, 4, 1 (nz 0.5 gives B 186); numbers outside
// the palette draw grey.
TEST(Palette, ShadesEachColourByTheNormal) {
    using Row = std::tuple<int, double, int, Rgb>; // kind, nz, colour number, colour
    for (const auto& [kind, nz, number, colour] :
         {Row{kCube, 1.0, 4, {0, 155, 255}}, Row{kCube, 0.2, 0, {108, 108, 108}},
          Row{kCube, 0.2, 1, {130, 52, 0}}, Row{kCube, 0.2, 2, {118, 0, 0}},
          Row{kPiracube, 0.2, 5, {16, 99, 16}}, Row{kCube, 0.04, 4, {0, 0, 90}},
          Row{kTetrahedron, 1.0, 0, {212, 212, 212}}, Row{kTetrahedron, 0.5, 1, {23, 143, 23}},
          Row{kTetrahedron, 0.5, 2, {0, 86, 186}}, Row{kTetrahedron, 0.5, 3, {186, 74, 0}},
          Row{kCube, 0.2, 6, {85, 85, 85}}, Row{kTetrahedron, 0.2, 4, {85, 85, 85}}})
        EXPECT_TRUE(stickerRgb(kind, number, faceBrightness(kind, nz)) == colour)
            << kind << " nz " << nz << " number " << number;
}

// The background, then per sticker its black cell with the thin pen and its coloured polygon
// with no pen; the cells and the face outline are recorded, and the other cube slots show
// (-1, -1) outlines (slot 4 is not the cube's and is left alone).
TEST(Redraw, CubeDrawsBackgroundThenEachCellBlackUnderItsColour) {
    Puzzle g = puzzle(kCube, 2);
    g.stickerColour[1][2][0] = 4;
    ScreenRecords r;
    std::fill(&r.faceOutline[0][0], &r.faceOutline[0][0] + 16, Point{7, 7});
    const RecordingCanvas canvas = redraw(g, r, View{.bgColour = 1});
    ASSERT_EQ(canvas.calls.size(), 1u + 9u * 2u);
    EXPECT_TRUE(canvas.calls[0].op == Op::Rectangle && canvas.calls[0].brush == kWhiteBrush);
    EXPECT_EQ(canvas.calls[0].points, (Points{{-1, -1}, {242, 322}}));
    for (int k = 0; k < 9; ++k) {
        // Level 2, face 0 looking at the viewer: 40-pixel cells, a along x, b up the screen, the
        // coloured polygon a twelfth of the cell inside.
        const int a = k / 3, b = k % 3, l = 60 + 40 * a, t = 165 - 40 * b;
        const auto &cell = canvas.calls[1 + 2 * k], &paint = canvas.calls[2 + 2 * k];
        const Points at{{l, t}, {l, t + 40}, {l + 40, t + 40}, {l + 40, t}};
        EXPECT_EQ(cell.points, at) << a << "," << b;
        EXPECT_TRUE(cell.brush == kBlackBrush && cell.pen == Pen::Thin && paint.pen == Pen::Null);
        EXPECT_EQ(paint.points,
                  (Points{{l + 3, t + 3}, {l + 3, t + 37}, {l + 37, t + 37}, {l + 37, t + 3}}));
        EXPECT_EQ(paint.brush.colour, (a == 1 && b == 2 ? Rgb{0, 155, 255} : Rgb{212, 212, 212}));
        EXPECT_EQ(pointsOf(r.stickerPoly[0][a][b].p, 4), at);
    }
    EXPECT_EQ(pointsOf(r.faceOutline[0], 4), (Points{{60, 205}, {180, 205}, {180, 85}, {60, 85}}));
    EXPECT_EQ(pointsOf(r.faceOutline[1], 8), Points(8, {-1, -1}));
    EXPECT_TRUE(r.faceSign[0] == 1 && r.faceOutline[3][0] == (Point{7, 7}));
}

// Each tetrahedron face of level 4 shows 25 triangles, entries b = 0 to 8 - 2a of row a; normals
// 0 and 1 face the viewer: slot 3 (colour face 0), then slot 4 (colour face 2). A coloured
// triangle moves its corners a twelfth of the way to the middle of the opposite side.
TEST(Redraw, TetrahedronOfLevelFourDrawsItsTrianglesAndRecordsThem) {
    const Puzzle g = puzzle(kTetrahedron, 4);
    ScreenRecords r;
    const RecordingCanvas canvas = redraw(g, r);
    EXPECT_EQ(canvas.polygons().size(), 2u * 25u * 2u);
    EXPECT_EQ(canvas.calls.back().brush.colour, (Rgb{0, 155, 255}));
    EXPECT_EQ(canvas.calls[52].points, (Points{{62, 204}, {83, 183}, {83, 204}}));
    EXPECT_EQ(cellsDrawn(r, 4, canvas, 3).size(), 25u);
    EXPECT_EQ(pointsOf(r.stickerPoly[3][0][1].p, 3), (Points{{108, 181}, {84, 181}, {84, 205}}));
}

// A layer piece draws, face by face (each shown alone), exactly the stickers the turn of that
// layer moves, whose colours the model's own tests check against the turn's rotation. At
// these levels no sticker turns onto itself.
TEST(Pieces, LayerDrawsTheStickersItsTurnMoves) {
    for (int view = 0; view < 10; ++view) // cube faces 0..5, then tetrahedron slots 1..4
        for (int axis = 1; axis <= (view < 6 ? 3 : 4); ++axis)
            for (int layer = 0; layer <= (view < 6 ? 3 : 2); ++layer) {
                const bool tetra = view >= 6;
                const int n = tetra ? 2 : 3, i = tetra ? view - 6 : view;
                const int slot = tetra ? i + 1 : i / 2 + 1, face = tetra ? kSlotFace[i] : i;
                Puzzle g = puzzle(tetra ? kTetrahedron : kCube, n, tetra ? kSlotNormal[i] : i);
                std::iota(*g.stickerColour[0], *g.stickerColour[0] + kCells * kCells * kFaces, 0);
                Puzzle t = g;
                const Move move = Move::axisTurn(axis, layer, 1);
                applyMove(t, move);
                ScreenRecords r;
                redraw(g, r);
                Cells drawn = cellsDrawn(r, slot, piece(g, move, layer), tetra ? 3 : 4), expected;
                std::sort(drawn.begin(), drawn.end());
                for (int a = 0; a <= n; ++a)
                    for (int b = 0; b <= (tetra ? 2 * (n - a) : n); ++b)
                        if (t.stickerColour[a][b][face] != g.stickerColour[a][b][face])
                            expected.emplace_back(a, b);
                EXPECT_EQ(drawn, expected)
                    << "view " << view << " axis " << axis << " layer " << layer;
            }
}

// A cut piece is one black polygon with the thin pen a third of the way in from the face layer
// 0 holds, each point on an edge along the axis between the projected corners (cube: face 0
// at 60..180, 85..205, face 1 at 77..162, 102..187; tetrahedron: from corners 3, 0, 2 towards
// the apex: corner 1 at 180, 85 for axis 1, corner 0 at 60, 205 for axis 2); only inner depths
// draw one.
TEST(Pieces, CutIsOneBlackPolygonAtItsDepth) {
    using Row = std::tuple<int, int, Points>; // kind, axis, the cut at depth 1
    for (const auto& [kind, axis, cut] :
         {Row{kCube, 1, {{65, 199}, {174, 199}, {174, 90}, {65, 90}}},
          Row{kCube, 2, {{60, 165}, {180, 165}, {162, 158}, {77, 158}}},
          Row{kCube, 3, {{100, 205}, {100, 85}, {105, 102}, {105, 187}}},
          Row{kTetrahedron, 1, {{100, 85}, {100, 165}, {180, 165}}},
          Row{kTetrahedron, 2, {{140, 205}, {140, 125}, {60, 125}}}}) {
        const Puzzle g = puzzle(kind, 2);
        const Move move = Move::axisTurn(axis, 0, 1);
        const auto cutAt = [&](int code) { return piece(g, move, code).calls; };
        const auto calls = cutAt(-5);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].points, cut) << kind << " axis " << axis;
        EXPECT_TRUE(calls[0].brush == kBlackBrush && calls[0].pen == Pen::Thin);
        EXPECT_TRUE(cutAt(-4).empty() && cutAt(-7).empty() && cutAt(3).empty());
    }
}

// A Piracube piece draws the stickers of its half as the mask says (k = 0 the centre diamond,
// 1..4 the corner triangles), each face shown alone; the still half first draws the black
// hexagon of the cut.
TEST(Pieces, PiracubeHalvesFollowTheMask) {
    constexpr int kMaskSlot[kFaces] = {0, 1, 2, 4, 3, 5};
    for (int face : {0, 3, 4})
        for (int corner = 0; corner < kCorners; ++corner)
            for (int part = 0; part <= 1; ++part) {
                const Puzzle g = puzzle(kPiracube, 3, face);
                ScreenRecords r;
                redraw(g, r);
                const RecordingCanvas half = piece(g, Move::cornerTurn(corner, 1), part);
                std::vector<int> drawn, expected;
                for (int k = 0; k < 5; ++k)
                    if (g.piraMask[corner][kMaskSlot[face]][k] == part)
                        expected.push_back(k);
                for (const auto& call : half.polygons()) // the centre diamond's black cell
                    if (call.pen == Pen::Thin && call.points.size() == 4)
                        drawn.push_back(0);
                for (auto [a, b] : cellsDrawn(r, face / 2 + 1, half, 3))
                    drawn.push_back(2 * a - 1 + b);
                EXPECT_EQ(drawn, expected) << face << " corner " << corner << " part " << part;
                EXPECT_EQ(half.polygons().at(0).points.size() == 6, part == 0);
            }
}

// The pieces of a level-3 frame, on every axis and turning layer, whichever side faces the
// viewer: every layer once, turned exactly when it is the turning one; the still layers beyond
// it (seen from the viewer) before it and the nearer ones after, so nearer parts cover farther
// ones; only the cuts beside the turning layer, all before it. No pieces for a layer past the
// last or for a corner turn.
TEST(Pieces, PainterOrderDrawsFarPartsFirst) {
    for (int kind : {kCube, kTetrahedron})
        for (int axis = 1; axis <= (kind == kCube ? 3 : 4); ++axis)
            for (int turning = 0; turning <= 3; ++turning)
                for (double nz : {-0.5, 0.0, 0.5}) {
                    SCOPED_TRACE(::testing::Message() << kind << " axis " << axis << " layer "
                                                      << turning << " nz " << nz);
                    Puzzle g = puzzle(kind, 3);
                    const int zero = kLayerZeroNormal[kind != kCube][axis - 1];
                    for (int i = 0; i < kFaces; ++i)
                        g.faceNormal[i][2] = i == zero ? nz : -nz;
                    FramePiece out[kMaxFramePieces];
                    const int count = axisFramePieces(g, Move::axisTurn(axis, turning, 1), out);
                    std::vector<int> seen(4, 0);
                    int at = -1; // where the turning layer is drawn
                    for (int i = 0; i < count; ++i) {
                        const int code = out[i].code;
                        if (code < 0) {
                            EXPECT_TRUE(code == -4 - turning || code == -5 - turning) << code;
                            EXPECT_EQ(at, -1) << "a cut after the turning layer";
                            continue;
                        }
                        ++seen[code];
                        EXPECT_EQ(out[i].turned, code == turning);
                        const bool beyond = nz > 0 ? code > turning : code < turning;
                        EXPECT_TRUE(code == turning || (at == -1) == beyond) << "layer " << code;
                        at = code == turning ? i : at;
                    }
                    EXPECT_EQ(seen, std::vector<int>(4, 1));
                }
    FramePiece out[kMaxFramePieces];
    EXPECT_EQ(axisFramePieces(puzzle(kCube, 3), Move::axisTurn(1, 4, 1), out), 0);
    EXPECT_EQ(axisFramePieces(puzzle(kPiracube, 3), Move::cornerTurn(1, 1), out), 0);
}

// Built and drawn puzzles at the largest zoom in random orientations stay inside the picture,
// and come close enough to its edge that the limit gives nothing away.
TEST(ZoomLimit, KeepsEveryPuzzleInsideThePictureInAnyOrientation) {
    std::mt19937 random(12);
    std::uniform_real_distribution<double> angle(0.0, 360.0);
    const PictureArea& a = kPuzzlePicture;
    constexpr int kLevels[] = {0, kMaxCubeSize, kMaxTetraSize, 1, 1}; // by kind
    for (int type : {kCube, kTetrahedron, kPiracube, kSphere})
        for (int level = 1; level <= kLevels[type]; ++level) {
            SCOPED_TRACE(::testing::Message() << "kind " << type << " level " << level);
            Puzzle g;
            buildPuzzleState(g, type, level);
            const View view{.zoom = zoomLimit(g, View{})};
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
                for (const auto& call : canvas.polygons())
                    for (const Point& p : call.points)
                        worst = std::max(
                            {worst, a.left - p.x, p.x - a.right, a.top - p.y, p.y - a.bottom});
            }
            EXPECT_LE(worst, 0);
            EXPECT_TRUE(view.zoom == kZoomMax || level > 6 || worst >= -3); // near the edge
        }
    EXPECT_EQ(zoomLimit(99, 1), kZoomMax); // a kind the game does not know
}

} // namespace
} // namespace korvane
