#include "render/animation.h"

#include "render/puzzle_drawing.h"

namespace korvane {

namespace {

// One step of a frame's painter's order: the cut before the turning layer L (code -4 - L), the cut
// after it (-5 - L), layer L itself, or a run of still layers below or above L in either
// direction.
enum class Step { CutBefore, CutAfter, Turning, BelowUp, BelowDown, AboveUp, AboveDown, End };

struct OrderEntry {
    Step step;
    bool turned;
};

constexpr int kOrderLength = 8;
constexpr int kCubeOrder = 0;
constexpr int kTetraOrder = 1;

// The painter's order of a frame, [kind: cube, tetrahedron][layer 0 is near: nz > 0]. Far parts
// are drawn first, so whatever is nearer covers them. Always: every still layer and layer L
// appear exactly once.
constexpr OrderEntry kFrameOrder[2][2][kOrderLength] = {
    {
        {{Step::CutAfter, false},
         {Step::CutBefore, false},
         {Step::CutAfter, true},
         {Step::CutBefore, true},
         {Step::BelowUp, false},
         {Step::CutAfter, true},
         {Step::Turning, true},
         {Step::AboveUp, false}},
        {{Step::CutBefore, false},
         {Step::CutAfter, false},
         {Step::CutBefore, true},
         {Step::CutAfter, true},
         {Step::AboveUp, false},
         {Step::CutBefore, true},
         {Step::Turning, true},
         {Step::BelowUp, false}},
    },
    {
        {{Step::CutBefore, false},
         {Step::BelowDown, false},
         {Step::CutAfter, true},
         {Step::Turning, true},
         {Step::AboveDown, false},
         {Step::End, false}},
        {{Step::CutAfter, false},
         {Step::AboveDown, false},
         {Step::CutBefore, true},
         {Step::Turning, true},
         {Step::BelowDown, false},
         {Step::End, false}},
    },
};

// The normal of the face that layer 0 of each axis holds, [turnAxis - 1].
constexpr int kCubeLayerZeroNormal[3] = {0, 2, 5};
constexpr int kTetraLayerZeroNormal[4] = {2, 3, 1, 0};

int appendRun(FramePiece* out, int count, int from, int to, bool turned) {
    const int delta = from <= to ? 1 : -1;
    for (int layer = from; layer != to + delta; layer += delta) {
        out[count++] = {layer, turned};
    }
    return count;
}

int appendStep(FramePiece* out, int count, OrderEntry entry, int turning, int level) {
    switch (entry.step) {
    case Step::CutBefore:
        out[count++] = {-4 - turning, entry.turned};
        return count;
    case Step::CutAfter:
        out[count++] = {-5 - turning, entry.turned};
        return count;
    case Step::Turning:
        out[count++] = {turning, entry.turned};
        return count;
    case Step::BelowUp:
        return turning > 0 ? appendRun(out, count, 0, turning - 1, entry.turned) : count;
    case Step::BelowDown:
        return turning > 0 ? appendRun(out, count, turning - 1, 0, entry.turned) : count;
    case Step::AboveUp:
        return turning < level ? appendRun(out, count, turning + 1, level, entry.turned) : count;
    case Step::AboveDown:
        return turning < level ? appendRun(out, count, level, turning + 1, entry.turned) : count;
    case Step::End:
        break;
    }
    return count;
}

} // namespace

int axisFramePieces(const GameState& g, int turningLayer, FramePiece out[kMaxFramePieces]) {
    const int axis = g.turnAxis;
    int kind = kCubeOrder;
    int normal = 0;
    int level = 0;
    if (g.puzzleType == kCube && axis >= 1 && axis <= 3) {
        normal = kCubeLayerZeroNormal[axis - 1];
        level = cubeLevel(g);
    } else if (g.puzzleType == kTetrahedron && axis >= 1 && axis <= 4) {
        kind = kTetraOrder;
        normal = kTetraLayerZeroNormal[axis - 1];
        level = tetraLevel(g);
    } else {
        return 0;
    }
    if (turningLayer < 0 || turningLayer > level) {
        return 0;
    }
    const bool nearSide = g.faceNormal[normal][2] > 0.0;
    int count = 0;
    for (const OrderEntry& entry : kFrameOrder[kind][nearSide ? 1 : 0]) {
        if (entry.step == Step::End) {
            break;
        }
        count = appendStep(out, count, entry, turningLayer, level);
    }
    return count;
}

} // namespace korvane
