// The model's geometry against a test-side model of the puzzles, worked out independently in
// their own frame (before the view rotation): corners and normals, sticker centres from the
// face outlines, and rotations by the right-hand rule.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "model/turns.h"

namespace korvane {
namespace {

using Vec3 = std::array<double, 3>;

constexpr auto plus = [](Vec3 p, Vec3 q, double k = 1) { // p + k q
    return Vec3{p[0] + k * q[0], p[1] + k * q[1], p[2] + k * q[2]};
};
constexpr auto dot = [](Vec3 p, Vec3 q) { return p[0] * q[0] + p[1] * q[1] + p[2] * q[2]; };
void expectNear(const double* got, Vec3 want) {
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(got[k], want[k], 1e-9) << "component " << k;
}

// p turned by `degrees` about the line through the origin along `axis`, counter-clockwise seen
// from the axis tip (Rodrigues).
Vec3 rotateRightHanded(const double* p, Vec3 axis, double degrees) {
    const Vec3 k = plus({}, axis, 1 / std::sqrt(dot(axis, axis))), v = {p[0], p[1], p[2]};
    const double t = degrees * std::numbers::pi / 180, c = std::cos(t);
    const Vec3 kxv = {k[1] * v[2] - k[2] * v[1], k[2] * v[0] - k[0] * v[2],
                      k[0] * v[1] - k[1] * v[0]};
    return plus(plus(plus({}, v, c), kxv, std::sin(t)), k, (1 - c) * dot(k, v));
}

constexpr Vec3 kCubeCorners[8] = {{-1, 1, 1},  {1, 1, 1},  {-1, -1, 1},  {1, -1, 1},
                                  {-1, 1, -1}, {1, 1, -1}, {-1, -1, -1}, {1, -1, -1}};
// Outward normals of the cube faces 0..5, and the outline corners Q0..Q3 of each, in order
// round the face.
constexpr Vec3 kCubeNormals[6] = {{0, 0, 1},  {0, 0, -1}, {0, 1, 0},
                                  {0, -1, 0}, {1, 0, 0},  {-1, 0, 0}};
constexpr int kCubeOutline[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                    {2, 3, 7, 6}, {1, 3, 7, 5}, {0, 2, 6, 4}};
constexpr Vec3 kTetraCorners[4] = {{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}, {-1, -1, -1}};
constexpr Vec3 kTetraNormals[4] = {{1, 1, 1}, {-1, -1, 1}, {-1, 1, -1}, {1, -1, -1}};
// Outline corners Q0, Q1, Q2 of the tetrahedron's colour faces 0..3.
constexpr int kTetraOutline[4][4] = {{3, 1, 0}, {3, 0, 2}, {0, 1, 2}, {2, 1, 3}};

// One sticker: where its colour is held and its centre on the solved puzzle.
struct Sticker {
    int face, a, b;
    Vec3 centre;
};

// Every sticker of a solved puzzle of size n. A point of a face is Q0 + u (Q1 - Q0) + v (Qlast -
// Q0); a tetrahedron's upright triangles (even b) have their centre a third of a cell in, the
// inverted ones two thirds; the Piracube's stickers are the centre square, then the corner
// triangles at Q0, Q3, Q2, Q1, in cells (0,0), (1,0), (1,1), (2,0), (2,1).
std::vector<Sticker> stickersOf(int kind, int n) {
    constexpr double kPira[5][4] = {
        {0, 0, 3, 3}, {1, 0, 1, 1}, {1, 1, 1, 5}, {2, 0, 5, 5}, {2, 1, 5, 1}};
    std::vector<Sticker> out;
    const bool tetra = kind == kTetrahedron;
    for (int f = 0; f < (tetra ? 4 : kind == kSphere ? 0 : 6); ++f) {
        const Vec3* corners = tetra ? kTetraCorners : kCubeCorners;
        const int* q = tetra ? kTetraOutline[f] : kCubeOutline[f];
        const Vec3 q0 = corners[q[0]], du = plus(corners[q[1]], q0, -1),
                   dv = plus(corners[q[tetra ? 2 : 3]], q0, -1);
        auto add = [&](int a, int b, double u, double v) {
            out.push_back({f, a, b, plus(plus(q0, du, u), dv, v)});
        };
        for (int k = 0; k < 5 && kind == kPiracube; ++k)
            add(kPira[k][0], kPira[k][1], kPira[k][2] / 6, kPira[k][3] / 6);
        for (int a = 0; a <= n && kind != kPiracube; ++a)
            for (int b = 0; b <= (tetra ? 2 * (n - a) : n); ++b) {
                const double in = tetra ? (b % 2 + 1) / 3.0 : 0.5;
                add(a, b, (a + in) / (n + 1), ((tetra ? b / 2 : b) + in) / (n + 1));
            }
    }
    return out;
}

struct Turn {
    int kind, n, axis, layer; // axis: cube 1..3, tetrahedron 1..4, Piracube corner 0..7
};
// Every layer of the cube 1..5, the tetrahedron 1..4 and the Piracube.
std::vector<Turn> everyLayer() {
    std::vector<Turn> out;
    for (int corner = 0; corner < 8; ++corner)
        out.push_back({kPiracube, 3, corner, 0});
    for (int kind : {kCube, kTetrahedron})
        for (int n = 1; n <= (kind == kCube ? 5 : 4); ++n)
            for (int axis = 1; axis <= (kind == kCube ? 3 : 4); ++axis)
                for (int layer = 0; layer <= n; ++layer)
                    out.push_back({kind, n, axis, layer});
    return out;
}

// The turn axis in the puzzle's own frame. Layer 0 holds cube face 0, 2 or 5 for axes 1, 2, 3
// (axis 3 counts its layers against its vector) and the tetrahedron axis's end face.
constexpr int kAxisNormal[2][5] = {{-1, 0, 2, 4}, {-1, 2, 3, 1, 0}}; // cube, tetrahedron

Vec3 axisOf(const Turn& t) {
    return t.kind == kCube          ? kCubeNormals[kAxisNormal[0][t.axis]]
           : t.kind == kTetrahedron ? kTetraNormals[kAxisNormal[1][t.axis]]
                                    : kCubeCorners[t.axis];
}

// Whether a sticker turns: by its depth along the axis, or on the Piracube by lying on the
// corner's side of the plane through the centre square to the corner's diagonal.
bool turnsWith(const Turn& t, Vec3 c) {
    if (t.kind == kPiracube)
        return dot(c, axisOf(t)) > 1e-9;
    const double depth = 1 - (t.axis == 3 && t.kind == kCube ? -1 : 1) * dot(c, axisOf(t));
    const double width = (t.kind == kCube ? 2.0 : 4.0) / (t.n + 1);
    return std::clamp(static_cast<int>(std::floor(depth / width + 1e-9)), 0, t.n) == t.layer;
}

Move moveOf(const Turn& t, int dir) {
    return t.kind == kPiracube ? Move::cornerTurn(t.axis, dir)
                               : Move::axisTurn(t.axis, t.layer, dir);
}

// A new puzzle whose every cell holds its own number, so a permutation can be read back exactly.
Puzzle labelled(int kind, int n) {
    Puzzle g;
    buildPuzzleState(g, kind, n);
    std::iota(&g.stickerColour[0][0][0], &g.stickerColour[0][0][0] + kCells * kCells * kFaces, 1);
    return g;
}

const auto same = [](const Puzzle& x, const Puzzle& y) {
    return std::memcmp(x.stickerColour, y.stickerColour, sizeof x.stickerColour) == 0;
};

// The colours after the turn as the animation shows it: every turning sticker carries its colour
// to the sticker its centre is rotated onto; every other cell, sticker or not, keeps its own.
// The Piracube's mask must mark the same halves.
Puzzle rotatedColours(const Puzzle& start, const Turn& t, int dir) {
    constexpr int kPiraSlot[6] = {0, 1, 2, 4, 3, 5};
    const std::vector<Sticker> stickers = stickersOf(t.kind, t.n);
    Puzzle want = start;
    for (const Sticker& s : stickers) {
        const bool moves = turnsWith(t, s.centre);
        const int k = s.a ? 2 * s.a - 1 + s.b : 0;
        EXPECT_TRUE(t.kind != kPiracube || start.piraMask[t.axis][kPiraSlot[s.face]][k] == moves);
        if (!moves)
            continue;
        const Vec3 to =
            rotateRightHanded(s.centre.data(), axisOf(t), dir * (t.kind == kCube ? 90 : 120));
        const auto hit = std::find_if(stickers.begin(), stickers.end(), [&](auto& u) {
            return dot(plus(u.centre, to, -1), plus(u.centre, to, -1)) < 1e-12;
        });
        want.stickerColour[hit->a][hit->b][hit->face] = start.stickerColour[s.a][s.b][s.face];
    }
    return want;
}

// Each turn, either way, moves the colours as its rotation; four quarter turns (three thirds)
// restore them and no fewer do; one turn back is the round less one forward.
TEST(Turns, MoveTheColoursAsTheRotationAndComeRound) {
    for (const Turn& t : everyLayer()) {
        SCOPED_TRACE(::testing::Message() << "kind " << t.kind << " n " << t.n << " axis " << t.axis
                                          << " layer " << t.layer);
        const Puzzle start = labelled(t.kind, t.n);
        Puzzle g = start, back = start;
        applyInverse(back, moveOf(t, 1));
        EXPECT_TRUE(same(back, rotatedColours(start, t, -1)));
        for (int i = 1, round = t.kind == kCube ? 4 : 3; i <= round; ++i) {
            applyMove(g, moveOf(t, 1));
            EXPECT_TRUE(i > 1 || same(g, rotatedColours(start, t, 1)));
            EXPECT_EQ(same(g, start), i == round) << "after " << i;
            EXPECT_EQ(same(g, back), i == round - 1) << "after " << i;
        }
    }
}

// Arguments that name no turn move nothing and read or write nothing out of bounds.
TEST(Turns, OutOfRangeTurnsMoveNothing) {
    for (const Turn& t :
         {Turn{kCube, 2, 0, 0}, Turn{kCube, 2, 4, 0}, Turn{kCube, 2, 1, 3}, Turn{kCube, 2, 1, -1},
          Turn{kTetrahedron, 2, 5, 0}, Turn{kPiracube, 3, 8, 0}, Turn{kPiracube, 3, -1, 0},
          Turn{kCube, 2, -1, 0}, Turn{kSphere, 2, 1, 0}}) {
        Puzzle g = labelled(t.kind, t.n);
        // A corner move on an axis puzzle and the other way round name no turn either.
        applyMove(g, t.kind != kPiracube && t.axis < 0 ? Move::cornerTurn(0, 1) : moveOf(t, 1));
        EXPECT_TRUE(same(g, labelled(t.kind, t.n))) << t.kind << " " << t.axis << " " << t.layer;
    }
}

// A new puzzle is solved (every sticker of the test-side list carries its face), of the size of
// its kind; levels the arrays cannot hold are clamped. Undoing the standard
// view (45 about x, then 45 about y) finds the kind's own corners and normals, and the cube
// shows three faces, none edge-on.
TEST(Build, MakesASolvedPuzzleInTheStandardView) {
    constexpr int kCases[6][3] = {{kCube, 2, 2},   {kTetrahedron, 3, 3}, {kPiracube, 2, 3},
                                  {kSphere, 2, 2}, {kCube, 99, 17},      {kTetrahedron, 99, 8}};
    for (const auto& [kind, level, size] : kCases) {
        SCOPED_TRACE(::testing::Message() << "kind " << kind << " level " << level);
        Puzzle g;
        buildPuzzleState(g, kind, level);
        EXPECT_EQ(g.size, size);
        for (const Sticker& s : stickersOf(kind, size))
            ASSERT_EQ(g.stickerColour[s.a][s.b][s.face], s.face);
        const bool tetra = kind == kTetrahedron, cube = !tetra && kind != kSphere;
        const auto facing = std::ranges::count_if(g.faceNormal, [](auto& n) { return n[2] > 0.3; });
        EXPECT_TRUE(!cube || facing == 3); // and their opposites turned away: none edge-on
        spinY(g, -45);
        spinX(g, -45);
        for (int i = 0; i < (tetra ? 4 : cube ? 8 : 0); ++i)
            expectNear(g.corner[i], tetra ? kTetraCorners[i] : kCubeCorners[i]);
        for (int i = 0; i < (tetra ? 4 : cube ? 6 : 0); ++i)
            expectNear(g.faceNormal[i], tetra ? kTetraNormals[i] : kCubeNormals[i]);
    }
}

// The 8 corners, then the 6 normals, then the 160 sphere points.
double* pointOf(Puzzle& g, int i) {
    return i < 14 ? (i < 8 ? g.corner[i] : g.faceNormal[i - 8])
                  : &g.spherePoint[0][0][0][0] + 3 * (i - 14);
}

// Each point that moves (the sphere's points, the corners and normals of every other kind) is
// the one before turned by `angle` about `axis`; the others stay.
void expectTurned(Puzzle& g, Puzzle& before, Vec3 axis, double angle) {
    for (int i = 0; i < 174; ++i) {
        const bool moves = (i >= 14) == (g.puzzleType == kSphere);
        expectNear(pointOf(g, i), rotateRightHanded(pointOf(before, i), axis, moves ? angle : 0));
    }
}

// Spins about view x and y, and turns about every turn axis, are right-handed; a turn by -a
// after +a restores the puzzle.
TEST(Rotation, SpinsAndTurnsAreRightHanded) {
    for (int kind : {kCube, kTetrahedron, kPiracube, kSphere}) {
        Puzzle g, before;
        buildPuzzleState(g, kind, 2);
        // Off the standard view first, so no axis component is special.
        for (const Vec3 axis : {Vec3{1, 0, 0}, Vec3{0, 1, 0}}) {
            before = g;
            axis[0] ? spinX(g, 17) : spinY(g, 17);
            expectTurned(g, before, axis, 17);
        }
        const int axes[5] = {0, 3, 4, 7, -1}; // the last turn axis (corner) of each kind
        for (int axis = kind == kPiracube ? 0 : 1; axis <= axes[kind]; ++axis) {
            SCOPED_TRACE(::testing::Message() << "kind " << kind << " axis " << axis);
            before = g;
            const double* a = pointOf(
                before, kind == kPiracube ? axis : 8 + kAxisNormal[kind == kTetrahedron][axis]);
            const Move move = moveOf({kind, 2, axis, 0}, 1);
            rotateModel(g, move, 37);
            expectTurned(g, before, {a[0], a[1], a[2]}, 37);
            rotateModel(g, move, -37);
            expectTurned(g, before, {1, 0, 0}, 0);
        }
    }
}

} // namespace
} // namespace korvane
