// The colour permutation of every turn must be the rotation the animation shows: for each turn,
// every sticker of the turning layer carries its colour to the place its centre is rotated to,
// and every other cell keeps its colour.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/puzzle_build.h"
#include "model/turns.h"
#include "sticker_geometry.h"

namespace korvane {
namespace {

using testing::Sticker;
using testing::Vec3;

struct TurnCase {
    int kind;
    int n;     // size (3 for the Piracube)
    int axis;  // cube 1..3, tetrahedron 1..4, Piracube corner 0..7
    int layer; // unused for the Piracube
    int dir;
};

// One puzzle of the tested sizes: cube 1..5, tetrahedron 1..4, the Piracube.
struct PuzzleCase {
    int kind;
    int n;
};

std::vector<PuzzleCase> testedPuzzles() {
    std::vector<PuzzleCase> out;
    for (int n = 1; n <= 5; ++n) {
        out.push_back({kCube, n});
    }
    for (int n = 1; n <= 4; ++n) {
        out.push_back({kTetrahedron, n});
    }
    out.push_back({kPiracube, 3});
    return out;
}

// Every turn of a puzzle: each axis (or corner), layer and direction.
std::vector<TurnCase> turnsOf(const PuzzleCase& p) {
    std::vector<TurnCase> out;
    for (int dir : {1, -1}) {
        if (p.kind == kPiracube) {
            for (int corner = 0; corner < 8; ++corner) {
                out.push_back({p.kind, p.n, corner, 0, dir});
            }
            continue;
        }
        const int axes = p.kind == kCube ? 3 : 4;
        for (int axis = 1; axis <= axes; ++axis) {
            for (int layer = 0; layer <= p.n; ++layer) {
                out.push_back({p.kind, p.n, axis, layer, dir});
            }
        }
    }
    return out;
}

std::string puzzleName(const ::testing::TestParamInfo<PuzzleCase>& info) {
    return testing::kindName(info.param.kind) + std::to_string(info.param.n);
}

std::string turnName(const TurnCase& t) {
    return "axis/corner " + std::to_string(t.axis) + " layer " + std::to_string(t.layer) + " dir " +
           std::to_string(t.dir);
}

// The turn axis vector in the puzzle's own frame, and the turn's angle.
Vec3 axisVector(const TurnCase& t) {
    static constexpr Vec3 kCubeAxis[4] = {{}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
    static constexpr int kTetraAxisNormal[5] = {-1, 2, 3, 1, 0};
    switch (t.kind) {
    case kCube:
        return kCubeAxis[t.axis];
    case kTetrahedron:
        return testing::kTetraNormals[kTetraAxisNormal[t.axis]];
    default:
        return testing::kCubeCorners[t.axis];
    }
}

double turnAngle(const TurnCase& t) {
    return t.dir * (t.kind == kCube ? 90.0 : 120.0);
}

int layerIndex(double distanceFromLayer0, double layerWidth, int n) {
    const int l = static_cast<int>(std::floor(distanceFromLayer0 / layerWidth + 1e-9));
    return std::clamp(l, 0, n);
}

// Piracube mask slots 0..5 stand for colour faces 0, 1, 2, 4, 3, 5.
int piraSlot(int face) {
    static constexpr int kSlot[6] = {0, 1, 2, 4, 3, 5};
    return kSlot[face];
}

int piraSticker(const Sticker& s) {
    for (int k = 0; k < 5; ++k) {
        if (testing::kPiraCell[k][0] == s.a && testing::kPiraCell[k][1] == s.b) {
            return k;
        }
    }
    return -1;
}

// Whether a sticker turns: by its layer along the axis (layer 0 holds face 0, 2 or 5 of the
// cube for axes 1, 2, 3, and the axis's end face of the tetrahedron), or by the Piracube's mask.
bool turns(const GameState& g, const TurnCase& t, const Sticker& s) {
    const Vec3 c = s.centre;
    switch (t.kind) {
    case kCube: {
        const double width = 2.0 / (t.n + 1);
        const double along[4] = {0, 1 - c[2], 1 - c[1], c[0] + 1};
        return layerIndex(along[t.axis], width, t.n) == t.layer;
    }
    case kTetrahedron:
        // The end face lies at 1 along its (unnormalised) normal, the apex at -3.
        return layerIndex(1 - testing::dot(c, axisVector(t)), 4.0 / (t.n + 1), t.n) == t.layer;
    default:
        return g.piraMask[t.axis][piraSlot(s.face)][piraSticker(s)] == 1;
    }
}

std::vector<Sticker> stickersOf(const TurnCase& t) {
    switch (t.kind) {
    case kCube:
        return testing::cubeStickers(t.n);
    case kTetrahedron:
        return testing::tetrahedronStickers(t.n);
    default:
        return testing::piracubeStickers();
    }
}

void applyTurn(GameState& g, const TurnCase& t) {
    switch (t.kind) {
    case kCube:
        permuteCubeColours(g, t.axis, t.layer, t.dir);
        break;
    case kTetrahedron:
        permuteTetrahedronColours(g, t.axis, t.layer, t.dir);
        break;
    default:
        permutePiracubeColours(g, t.axis, t.dir);
        break;
    }
}

void checkTurn(const TurnCase& t) {
    GameState g;
    buildPuzzleState(g, t.kind, t.n);
    testing::labelAllCells(g);
    const GameState before = g;
    applyTurn(g, t);

    const std::vector<Sticker> stickers = stickersOf(t);
    std::vector<bool> isSticker(kCells * kCells * kFaces, false);
    int turning = 0;
    for (const Sticker& s : stickers) {
        isSticker[(s.a * kCells + s.b) * kFaces + s.face] = true;
        const int old = before.stickerColour[s.a][s.b][s.face];
        if (!turns(g, t, s)) {
            EXPECT_EQ(g.stickerColour[s.a][s.b][s.face], old)
                << "still sticker " << s.face << ":" << s.a << "," << s.b;
            continue;
        }
        ++turning;
        const Vec3 to = testing::rotateRightHanded(s.centre, axisVector(t), turnAngle(t));
        const Sticker* target = nullptr;
        for (const Sticker& u : stickers) {
            if (testing::distance(u.centre, to) < 1e-9) {
                target = &u;
            }
        }
        ASSERT_NE(target, nullptr)
            << "no sticker where " << s.face << ":" << s.a << "," << s.b << " goes";
        ASSERT_TRUE(turns(g, t, *target));
        EXPECT_EQ(g.stickerColour[target->a][target->b][target->face], old)
            << s.face << ":" << s.a << "," << s.b << " should reach " << target->face << ":"
            << target->a << "," << target->b;
    }
    EXPECT_GT(turning, 0);

    // Cells that hold no sticker of this puzzle keep what they held.
    for (int a = 0; a < kCells; ++a) {
        for (int b = 0; b < kCells; ++b) {
            for (int f = 0; f < kFaces; ++f) {
                if (!isSticker[(a * kCells + b) * kFaces + f]) {
                    ASSERT_EQ(g.stickerColour[a][b][f], before.stickerColour[a][b][f]);
                }
            }
        }
    }
}

class TurnGeometry : public ::testing::TestWithParam<PuzzleCase> {};

TEST_P(TurnGeometry, ColoursFollowTheRotatedStickers) {
    for (const TurnCase& t : turnsOf(GetParam())) {
        SCOPED_TRACE(turnName(t));
        checkTurn(t);
        if (HasFatalFailure()) {
            return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPuzzle, TurnGeometry, ::testing::ValuesIn(testedPuzzles()),
                         puzzleName);

// The Piracube's halves: a corner's half is the side of the plane through the centre,
// square to the corner's diagonal, on which the corner lies; 15 stickers each.
TEST(PiracubeMask, MarksTheHalfOnTheCornersSide) {
    GameState g;
    buildPuzzleState(g, kPiracube, 2);
    for (int corner = 0; corner < 8; ++corner) {
        int count = 0;
        for (const Sticker& s : testing::piracubeStickers()) {
            const bool nearSide = testing::dot(s.centre, testing::kCubeCorners[corner]) > 1e-9;
            const int mark = g.piraMask[corner][piraSlot(s.face)][piraSticker(s)];
            EXPECT_EQ(mark, nearSide ? 1 : 0)
                << "corner " << corner << " face " << s.face << " k " << piraSticker(s);
            count += mark;
        }
        EXPECT_EQ(count, 15);
    }
}

} // namespace
} // namespace korvane
