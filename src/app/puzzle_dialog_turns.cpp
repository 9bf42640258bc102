#include "app/puzzle_dialog.h"

#include "model/rotation.h"
#include "model/turns.h"
#include "render/animation.h"
#include "render/renderer.h"

namespace korvane {

// A layer turn about axis 1..4: recorded, animated frame by frame (the still layers, then the
// turning layer and its cut faces rotated by the frame's angle), then the colours move and the
// puzzle is drawn whole again. Between turns only stickerColour has changed.
void PuzzleDialog::turnAxis(int axis, int dir) {
    if (g.undoState != 1) {
        recordMove(axis, dir, -1);
    }
    const int n = sizeLevel(g);
    const bool cube = g.puzzleType == kCube && axis <= 3;
    const bool tetrahedron = g.puzzleType == kTetrahedron;
    const int turningLayer = g.layer;
    if ((cube || tetrahedron) && turningLayer >= 0 && turningLayer <= n) {
        animateAxisTurn(axis, dir, turningLayer);
        if (cube) {
            permuteCubeColours(g, axis, turningLayer, dir);
        } else {
            permuteTetrahedronColours(g, axis, turningLayer, dir);
        }
        g.gestureState = 0;
        g.turnAxis = 0;
    }
    finishTurn();
}

void PuzzleDialog::animateAxisTurn(int axis, int dir, int turningLayer) {
    g.turnAxis = axis;
    const double step = (g.puzzleType == kCube ? 90.0 : 120.0) / g.animFrames;
    const int frames = static_cast<int>(g.animFrames);
    for (int f = 0; f <= frames; ++f) {
        clearBackBuffer(g, canvas_);
        FramePiece pieces[kMaxFramePieces];
        const int count = axisFramePieces(g, turningLayer, pieces);
        const double angle = dir * f * step;
        for (int i = 0; i < count; ++i) {
            if (pieces[i].turned) {
                rotateModel(g, angle);
            }
            g.layer = pieces[i].code;
            drawPart();
            if (pieces[i].turned) {
                rotateModel(g, -angle);
            }
        }
        g.layer = turningLayer;
        presentFrame();
    }
}

// A Piracube turn: the half at a corner turns 120 degrees about the diagonal through it. The
// nearer half is drawn last, so when the turning half is in front the model stays turned
// between its frames and is put back at the end.
void PuzzleDialog::turnCorner(int dir, int corner) {
    if (corner < 0 || corner >= kCorners) {
        return;
    }
    g.turnAxis = corner;
    if (g.undoState != 1) {
        recordMove(5, dir, corner);
    }
    animateCornerTurn(dir, corner);
    permutePiracubeColours(g, corner, dir);
    g.turnAxis = 0;
    finishTurn();
}

void PuzzleDialog::animateCornerTurn(int dir, int corner) {
    const double step = 120.0 / g.animFrames;
    bool leftTurned = false;
    for (int f = 1; g.animFrames >= 1.0 && f <= static_cast<int>(g.animFrames); ++f) {
        clearBackBuffer(g, canvas_);
        leftTurned = g.corner[corner][2] > 0.0;
        if (leftTurned) {
            g.drawTurningPart = 0;
            rotateModel(g, -dir * (f - 1) * step);
            drawPart();
            g.drawTurningPart = 1;
            rotateModel(g, dir * f * step);
            drawPart();
        } else {
            g.drawTurningPart = 1;
            rotateModel(g, dir * f * step);
            drawPart();
            g.drawTurningPart = 0;
            rotateModel(g, -dir * f * step);
            drawPart();
        }
        presentFrame();
    }
    if (leftTurned) {
        rotateModel(g, dir * -120.0);
    }
}

// The end of every turn: the whole puzzle drawn afresh (with its screen records), then the
// solved test while a game is timed.
void PuzzleDialog::finishTurn() {
    redraw();
    if (g.clockRunning == 1) {
        checkSolved();
    }
}

void PuzzleDialog::presentFrame() {
    g.renderMode = 0;
    platform_.repaintNow();
    platform_.paceFrame();
}

void PuzzleDialog::performTurn(int op, int dir, int corner) {
    if (op >= 1 && op <= 4) {
        turnAxis(op, dir);
    } else if (op == 5) {
        turnCorner(dir, corner);
    }
}

} // namespace korvane
