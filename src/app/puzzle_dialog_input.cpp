#include "app/puzzle_dialog.h"

#include "app/commands.h"
#include "input/strokes.h"
#include "input/zoom.h"
#include "model/rotation.h"

namespace korvane {

// A press starts one of three gestures: zooming (on a zoom button), a sticker stroke (on a
// sticker of the last picture) or a spin (anywhere else).
void PuzzleDialog::OnLButtonDown(int /*flags*/, int x, int y) {
    g.gestureState = 0;
    const int button = zoomButtonAt(x, y);
    if (button != 0) {
        g.zoomDir = button;
        platform_.setTimer(kZoomTimer, kZoomPeriodMs);
        return;
    }
    const StickerHit hit = hitTestPress(g, x, y);
    if (hit.slot != 0) {
        g.gestureState = hit.slot;
        g.pressedRow = hit.row;
        g.pressedCol = hit.col;
        return;
    }
    g.spinActive = 1;
    g.lastStylusX = x;
    g.lastStylusY = y;
}

// While spinning, the puzzle follows the stylus: one degree per pixel, upward travel about x,
// rightward travel about y.
void PuzzleDialog::OnMouseMove(int /*flags*/, int x, int y) {
    if (g.spinActive != 1) {
        return;
    }
    const int up = g.lastStylusY - y;
    const int right = x - g.lastStylusX;
    if (up != 0 || right != 0) {
        spinX(g, up);
        spinY(g, right);
        redraw();
    }
    g.lastStylusX = x;
    g.lastStylusY = y;
}

// A stroke is judged at its two ends only: at most one turn results.
void PuzzleDialog::OnLButtonUp(int /*flags*/, int x, int y) {
    g.spinActive = 0;
    if (g.zoomDir != 0) {
        platform_.killTimer(kZoomTimer);
        g.zoomDir = 0;
        return;
    }
    if (g.gestureState == 0) {
        return;
    }
    const TurnRequest turn = decodeStroke(g, x, y);
    g.gestureState = 0; // the stroke is over whatever it named
    if (turn.op >= 1 && turn.op <= 4) {
        g.layer = turn.layer;
    }
    performTurn(turn.op, turn.dir, turn.corner);
}

void PuzzleDialog::OnTimer(int id) {
    if (id == kZoomTimer) {
        zoomStep();
    } else if (id == kClockTimer) {
        g.renderMode = 0;
        platform_.repaintNow();
    }
}

void PuzzleDialog::zoomStep() {
    g.zoom = steppedZoom(g.zoom, g.zoomDir);
    redraw();
}

} // namespace korvane
