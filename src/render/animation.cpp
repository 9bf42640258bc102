#include "render/animation.h"

#include "model/puzzle_kind.h"
#include "model/rotation.h"
#include "render/puzzle_drawing.h"
#include "render/renderer.h"

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

// The halves of a corner turn's frame.
constexpr int kStillHalf = 0;
constexpr int kTurningHalf = 1;
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

int axisFramePieces(const Puzzle& puzzle, const Move& move, FramePiece out[kMaxFramePieces]) {
    const int axis = move.axis;
    int kind = kCubeOrder;
    int normal = 0;
    int level = 0;
    if (move.kind != Move::Kind::Axis) {
        return 0;
    }
    if (puzzle.puzzleType == kCube && axis >= 1 && axis <= 3) {
        normal = kCubeLayerZeroNormal[axis - 1];
        level = cubeLevel(puzzle);
    } else if (puzzle.puzzleType == kTetrahedron && axis >= 1 && axis <= 4) {
        kind = kTetraOrder;
        normal = kTetraLayerZeroNormal[axis - 1];
        level = tetraLevel(puzzle);
    } else {
        return 0;
    }
    const int turningLayer = move.layer;
    if (turningLayer < 0 || turningLayer > level) {
        return 0;
    }
    const bool nearSide = puzzle.faceNormal[normal][2] > 0.0;
    int count = 0;
    for (const OrderEntry& entry : kFrameOrder[kind][nearSide ? 1 : 0]) {
        if (entry.step == Step::End) {
            break;
        }
        count = appendStep(out, count, entry, turningLayer, level);
    }
    return count;
}

TurnFrames turnFramesOf(const Puzzle& puzzle, const Move& move) {
    TurnFrames frames;
    frames.move = move;
    const PuzzleKind* kind = puzzleKind(puzzle.puzzleType);
    if (kind == nullptr || !moveFits(puzzle, move)) {
        return frames;
    }
    frames.firstFrame = move.kind == Move::Kind::Corner ? 1 : 0;
    frames.lastFrame = kind->turnFrames;
    frames.frame = frames.firstFrame;
    frames.step = kind->turnAngle / kind->turnFrames;
    return frames;
}

namespace {

void drawAxisFrame(Puzzle& g, const View& view, const TurnFrames& frames, Canvas& canvas) {
    FramePiece pieces[kMaxFramePieces];
    const int count = axisFramePieces(g, frames.move, pieces);
    const double angle = frames.move.dir * frames.frame * frames.step;
    for (int i = 0; i < count; ++i) {
        if (pieces[i].turned) {
            rotateModel(g, frames.move, angle);
        }
        drawTurnPiece(g, view, frames.move, pieces[i].code, canvas);
        if (pieces[i].turned) {
            rotateModel(g, frames.move, -angle);
        }
    }
}

// The nearer half is drawn last: when the turning half is in front the model stays turned
// between frames, so each frame first turns it back for the still half.
void drawCornerFrame(Puzzle& g, const View& view, TurnFrames& frames, Canvas& canvas) {
    const Move& m = frames.move;
    const int dir = m.dir;
    const int f = frames.frame;
    const double step = frames.step;
    frames.modelTurned = g.corner[m.corner()][2] > 0.0;
    if (frames.modelTurned) {
        rotateModel(g, m, -dir * (f - 1) * step);
        drawTurnPiece(g, view, m, kStillHalf, canvas);
        rotateModel(g, m, dir * f * step);
        drawTurnPiece(g, view, m, kTurningHalf, canvas);
    } else {
        rotateModel(g, m, dir * f * step);
        drawTurnPiece(g, view, m, kTurningHalf, canvas);
        rotateModel(g, m, -dir * f * step);
        drawTurnPiece(g, view, m, kStillHalf, canvas);
    }
}

} // namespace

void drawTurnFrame(Puzzle& puzzle, const View& view, TurnFrames& frames, Canvas& canvas) {
    clearBackBuffer(view, canvas);
    if (frames.move.kind == Move::Kind::Corner) {
        drawCornerFrame(puzzle, view, frames, canvas);
    } else {
        drawAxisFrame(puzzle, view, frames, canvas);
    }
}

void endTurnFrames(Puzzle& puzzle, TurnFrames& frames) {
    if (frames.modelTurned) {
        rotateModel(puzzle, frames.move, -frames.move.dir * frames.frame * frames.step);
        frames.modelTurned = false;
    }
}

} // namespace korvane
