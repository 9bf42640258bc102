// Presses and strokes: the point-in-polygon rule a press is judged by, the turn each stroke
// names on hand-made screen records, and the zoom steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <tuple>
#include <vector>

#include "input/point_in_polygon.h"
#include "input/strokes.h"
#include "model/puzzle_build.h"

namespace korvane {
namespace {

constexpr Move kNone{};

// Hand-made screen records, as a redraw could leave them: face slot s lies at x = 1000 s, its
// sticker slot (r, c) is a 10-pixel cell at row r and column c there (a square for the cube, its
// top-left half for the triangles) inside the slot's outline, and every face faces the viewer.
constexpr auto cellPoint = [](int slot, int row, int col) {
    return Point{1000 * slot + 10 * col + 2, 100 + 10 * row + 2};
};

void setPolygon(Point* p, bool square, int x, int y, int side) {
    const Point corners[4] = {{x, y}, {x + side, y}, {x + side * square, y + side}, {x, y + side}};
    std::copy_n(corners, 4, p);
}

// A built puzzle (so the tetrahedron's frames are the build's own) laid out as above.
struct LaidOut {
    Puzzle puzzle;
    ScreenRecords screen;
};
std::unique_ptr<LaidOut> laidOut(int type, int n, std::array<int, 3> signs) {
    auto g = std::make_unique<LaidOut>();
    buildPuzzleState(g->puzzle, type, n);
    for (auto& normal : g->puzzle.faceNormal)
        normal[2] = 1.0;
    ScreenRecords& r = g->screen;
    for (int s = 1; s <= kFaceSlots; ++s) {
        setPolygon(r.faceOutline[s - 1], type != kTetrahedron, 1000 * s - 1, 99, 40 * (n + 1));
        for (int row = 0; row <= n; ++row)
            for (int c = 0; c <= 2 * n; ++c) {
                const Point p = cellPoint(s, row, c);
                setPolygon(r.stickerPoly[s - 1][row][c].p, type == kCube, p.x - 2, p.y - 2, 9);
            }
    }
    std::copy(signs.begin(), signs.end(), r.faceSign);
    return g;
}

using Cell = StickerHit; // sticker slot (row, col) of face slot `slot`

Move stroke(const LaidOut& g, Cell from, Cell to) {
    const Gesture pressed{from.slot, from.row, from.col};
    const Point p = cellPoint(to.slot, to.row, to.col);
    return decodeStroke({g.puzzle, g.screen, pressed}, p.x, p.y);
}

// Level 3 cubes: along a row, along a column, under the other faceSign; slot 3 turns its columns
// the other way round; a tap, a diagonal and a stroke onto another face do nothing.
// Kind, faceSign, press, release and the turn named.
constexpr std::tuple<int, int, Cell, Cell, Move> kExamples[] = {
    {kCube, +1, {1, 1, 1}, {1, 1, 2}, Move::axisTurn(3, 1, +1)},
    {kCube, +1, {1, 1, 1}, {1, 0, 1}, Move::axisTurn(2, 1, -1)},
    {kCube, -1, {1, 1, 1}, {1, 1, 2}, Move::axisTurn(3, 1, -1)},
    {kCube, +1, {3, 1, 1}, {3, 2, 1}, Move::axisTurn(1, 1, -1)},
    {kCube, +1, {1, 1, 1}, {1, 1, 1}, kNone},
    {kCube, +1, {1, 1, 1}, {1, 2, 2}, kNone},
    {kCube, +1, {1, 1, 1}, {2, 1, 2}, kNone},
    // Level 2 tetrahedra: along a row; (0, 1) and (1, 0) share frame B row 1 before frame A row 0,
    // (0, 0) and (1, 1) only frame A row 0, (0, 0) and (1, 2) nothing. Corner strokes turn the tip
    // (layer N) where two faces meet and their reverse turns it back; another tip's corner does
    // nothing.
    {kTetrahedron, 1, {2, 1, 0}, {2, 1, 2}, Move::axisTurn(1, 1, +1)},
    {kTetrahedron, 1, {1, 0, 1}, {1, 1, 0}, Move::axisTurn(4, 1, +1)},
    {kTetrahedron, 1, {1, 0, 0}, {1, 1, 1}, Move::axisTurn(3, 0, -1)},
    {kTetrahedron, 1, {1, 0, 0}, {1, 1, 2}, kNone},
    {kTetrahedron, 1, {1, 0, 0}, {3, 0, 0}, Move::axisTurn(4, 2, +1)},
    {kTetrahedron, 1, {3, 0, 0}, {1, 0, 0}, Move::axisTurn(4, 2, -1)},
    {kTetrahedron, 1, {1, 0, 0}, {4, 0, 0}, kNone}};

TEST(Strokes, NameTheTurnOfTheLayerTheyFollow) {
    for (const auto& [type, sign, from, to, expected] : kExamples) {
        auto g = laidOut(type, type == kCube ? 3 : 2, {sign, sign, sign});
        EXPECT_EQ(stroke(*g, from, to), expected)
            << type << ": " << from.slot << " " << from.row << "," << from.col << " -> " << to.slot
            << " " << to.row << "," << to.col;
    }
}

// The faceSign slot k shows while its face holds corner c.
int signAtCorner(int slot, int c) {
    const bool set = (c & (4 >> (slot - 1))) != 0;
    return slot == 1 ? (set ? -1 : +1) : (set ? +1 : -1);
}

// The Piracube's turn handles: rows 1..2, columns 0..1 of slots 1..3, numbered 0..11.
constexpr auto handle = [](int i) { return Cell{1 + i / 4, 1 + i % 4 / 2, i % 2}; };

// Every handle-to-handle stroke under every view: the 48 of the table turn only under their own
// faceSigns, whatever the third slot shows, so 96 in all; each turns a corner of both faces it
// joins, and its reverse turns it back.
TEST(PiracubeStrokes, EveryStrokeAndItsReverseTurnTheSameCornerOppositeWays) {
    int turns = 0;
    for (int view = 0; view < 8; ++view) {
        const std::array<int, 3> signs = {view & 1 ? -1 : 1, view & 2 ? -1 : 1, view & 4 ? -1 : 1};
        auto g = laidOut(kPiracube, 3, signs);
        for (int i = 0; i < 12 * 12; ++i) {
            const Cell from = handle(i / 12), to = handle(i % 12);
            SCOPED_TRACE(::testing::Message() << i / 12 << " -> " << i % 12 << " view " << view);
            const Move t = stroke(*g, from, to);
            EXPECT_TRUE(from.slot != to.slot || t == kNone); // within one face: nothing
            if (from.slot == to.slot || t == kNone)
                continue;
            ++turns;
            EXPECT_EQ(signs[from.slot - 1], signAtCorner(from.slot, t.corner()));
            EXPECT_EQ(signs[to.slot - 1], signAtCorner(to.slot, t.corner()));
            EXPECT_EQ(stroke(*g, to, from), t.inverse());
        }
    }
    EXPECT_EQ(turns, 96);
}

// The Piracube's redraw keeps the records of a slot whose face turned away since: what is no
// longer on screen cannot be stroked onto.
TEST(PiracubeStrokes, DoNotEndOnAFaceTurnedEdgeOnSinceTheRedraw) {
    auto g = laidOut(kPiracube, 3, {+1, -1, +1});
    g->puzzle.faceNormal[2][2] = 0.15; // slot 2 shows face 2 (faceSign -1)
    EXPECT_EQ(stroke(*g, {1, 1, 0}, {2, 1, 0}), kNone);
}

const std::vector<Point> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
// A U open at the bottom: the notch spans x 10..20 from y 10 down.
const std::vector<Point> kU = {{0, 0},   {30, 0},  {30, 30}, {20, 30},
                               {20, 10}, {10, 10}, {10, 30}, {0, 30}};
// One triangle walked both ways: its slanted edge crosses y = 1 at x 6.67, which truncates
// toward zero from the end the edge starts at: to 6 one way, to 7 the other.
const std::vector<Point> kSlantDown = {{0, 0}, {10, 0}, {0, 3}};
const std::vector<Point> kSlantUp = {{0, 3}, {10, 0}, {0, 0}};
constexpr int kFar = 1000000000; // far off screen, where a careless product overflows
const std::vector<Point> kHuge = {{-kFar, -kFar}, {kFar, -kFar}, {kFar, kFar}, {-kFar, kFar}};

// Top and left edges and the top-left vertex belong to the polygon, bottom and right ones not;
// a ray along the notch's horizontal top edge, and a point on it.
TEST(PointInPolygon, FollowsTheHalfOpenCrossingRule) {
    using Case = std::tuple<const std::vector<Point>*, Point, bool>;
    const std::vector<Point> flat = {{0, 5}, {10, 5}, {20, 5}};
    for (const auto& [polygon, probe, inside] :
         {Case{&kSquare, {5, 5}, true}, Case{&kSquare, {-1, 5}, false},
          Case{&kSquare, {0, 0}, true}, Case{&kSquare, {10, 0}, false},
          Case{&kSquare, {0, 10}, false}, Case{&kSquare, {5, 0}, true},
          Case{&kSquare, {10, 5}, false}, Case{&kSquare, {5, 10}, false},
          Case{&kU, {15, 20}, false}, Case{&kU, {25, 20}, true}, Case{&kU, {5, 10}, true},
          Case{&kU, {15, 10}, false}, Case{&kSlantDown, {6, 1}, false},
          Case{&kSlantUp, {6, 1}, true}, Case{&kHuge, {0, 0}, true}, Case{&kHuge, {0, kFar}, false},
          Case{&flat, {5, 5}, false}}) {
        const int count = static_cast<int>(polygon->size());
        EXPECT_EQ(pointInPolygon(polygon->data(), count, probe.x, probe.y), inside)
            << probe.x << "," << probe.y << " in a polygon of " << count;
    }
}

} // namespace
} // namespace korvane
