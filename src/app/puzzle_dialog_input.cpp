#include "app/puzzle_dialog.h"

#include <algorithm>
#include <iterator>

#include "app/commands.h"
#include "input/strokes.h"
#include "input/zoom.h"
#include "model/puzzle_kind.h"
#include "model/rotation.h"
#include "render/zoom_limit.h"

namespace korvane {

// Stylus input waits while a turn runs and is performed in order after it, as it always was.
void PuzzleDialog::OnLButtonDown(int /*flags*/, int x, int y) {
    if (endReplay()) {
        return; // the click only ends the replay
    }
    if (cursorShown_ && !keyStroke_) {
        cursorShown_ = false; // the mouse takes over: the cursor goes from the next picture
        if (!busy()) {
            redraw();
        }
    }
    handleInput({PendingInput::Kind::Press, x, y, {}});
}

void PuzzleDialog::OnMouseMove(int /*flags*/, int x, int y) {
    handleInput({PendingInput::Kind::Drag, x, y, {}});
}

void PuzzleDialog::OnLButtonUp(int /*flags*/, int x, int y) {
    handleInput({PendingInput::Kind::Release, x, y, {}});
}

// A press starts one of three gestures: zooming (on a zoom button), a sticker stroke (on a
// sticker of the last picture) or a spin (anywhere else).
void PuzzleDialog::pressStylus(int x, int y) {
    gesture_.gestureState = 0;
    const int button = zoomButtonAt(x, y);
    if (button != 0) {
        // A click shorter than the repeat still zooms a step; the button shows pressed.
        gesture_.zoomDir = button;
        zoomStep();
        platform_.setTimer(kZoomTimer, kZoomPeriodMs);
        return;
    }
    const StickerHit hit = hitTestPress({puzzle_, screen_, gesture_}, x, y);
    if (hit.slot != 0) {
        gesture_.gestureState = hit.slot;
        gesture_.pressedRow = hit.row;
        gesture_.pressedCol = hit.col;
        outlinePressed(hit);
        return;
    }
    gesture_.spinActive = 1;
    gesture_.lastStylusX = x;
    gesture_.lastStylusY = y;
}

// While spinning, the puzzle follows the stylus: one degree per pixel, upward travel about x,
// rightward travel about y.
void PuzzleDialog::dragStylus(int x, int y) {
    if (gesture_.spinActive != 1) {
        return;
    }
    const int up = gesture_.lastStylusY - y;
    const int right = x - gesture_.lastStylusX;
    if (up != 0 || right != 0) {
        spinX(puzzle_, up);
        spinY(puzzle_, right);
        redraw();
    }
    gesture_.lastStylusX = x;
    gesture_.lastStylusY = y;
}

// A stroke is judged at its two ends only: at most one turn results.
void PuzzleDialog::releaseStylus(int x, int y) {
    gesture_.spinActive = 0;
    if (gesture_.zoomDir != 0) {
        platform_.killTimer(kZoomTimer);
        gesture_.zoomDir = 0;
        platform_.repaintNow(); // the button comes up
        return;
    }
    if (gesture_.gestureState == 0) {
        return;
    }
    const Move move = decodeStroke({puzzle_, screen_, gesture_}, x, y);
    gesture_.gestureState = 0; // the stroke is over whatever it named
    if (!moveFits(puzzle_, move)) {
        return flashPressed();
    }
    outlined_.reset();
    startMove(move);
}

// Input is performed now, or, while a turn runs or input waits, queued behind it.
void PuzzleDialog::handleInput(const PendingInput& input) {
    if (hint_) { // a hint shows until the next input
        hint_.reset();
        if (!busy()) {
            redraw();
        }
    }
    if (busy() && !draining_) {
        // Moves of the stylus merge, as the window system merges them: the spin follows the
        // stylus to where it is now.
        if (input.kind == PendingInput::Kind::Drag && !pending_.empty() &&
            pending_.back().kind == PendingInput::Kind::Drag) {
            pending_.back() = input;
        } else {
            pending_.push_back(input);
        }
        return;
    }
    if (!goesOnWith(input)) {
        return;
    }
    switch (input.kind) {
    case PendingInput::Kind::Press:
        return pressStylus(input.x, input.y);
    case PendingInput::Kind::Drag:
        return dragStylus(input.x, input.y);
    case PendingInput::Kind::Release:
        return releaseStylus(input.x, input.y);
    case PendingInput::Kind::Command:
        return runCommand(input.x);
    case PendingInput::Kind::Turn:
        return startMove(input.move);
    case PendingInput::Kind::Pause:
        if (!paused_) {
            togglePause();
        }
        return;
    case PendingInput::Kind::Key:
        return runKey(static_cast<Key>(input.x), (input.y & 1) != 0, (input.y & 2) != 0);
    }
}

// While the game is paused, a press only ends the pause (its stroke goes nowhere); a turn or a
// command that acts on the puzzle ends it first. Returns whether the input is still to be done.
bool PuzzleDialog::goesOnWith(const PendingInput& input) {
    using Kind = PendingInput::Kind;
    if (swallowStroke_ && (input.kind == Kind::Drag || input.kind == Kind::Release)) {
        swallowStroke_ = input.kind != Kind::Release;
        return false;
    }
    if (!paused_) {
        return true;
    }
    static constexpr int kLeavePaused[] = {kCmdPause, kCmdExit, kCmdHelp, kCmdAbout,
                                           kCmdHighscores};
    const bool leaves = input.kind == Kind::Command &&
                        std::find(std::begin(kLeavePaused), std::end(kLeavePaused), input.x) !=
                            std::end(kLeavePaused);
    if (leaves || input.kind == Kind::Pause || input.kind == Kind::Drag ||
        input.kind == Kind::Release) {
        return true;
    }
    setPaused(false);
    redraw();
    swallowStroke_ = input.kind == Kind::Press;
    return input.kind != Kind::Press;
}

// The zoom repeats between frames would change the picture under a running turn: they wait
// for its end, when the timer ticks again.
void PuzzleDialog::OnTimer(int id) {
    if (id == kZoomTimer && !running_) {
        zoomStep();
    } else if (id == kClockTimer) {
        platform_.repaintNow();
        checkpointGame();
    } else if (id == kReplayTimer) {
        replayStep();
    } else if (id == kFlashTimer) {
        endFlash();
    }
}

// A timed game pauses, dropping the gesture in progress; a paused one goes on.
void PuzzleDialog::togglePause() {
    if (!paused_ && !timedGame()) {
        return;
    }
    if (!paused_) {
        gesture_.gestureState = 0;
        gesture_.spinActive = 0;
        gesture_.zoomDir = 0;
        platform_.killTimer(kZoomTimer);
    }
    setPaused(!paused_);
    if (paused_) {
        checkpointGame(true);
    }
    redraw();
}

void PuzzleDialog::zoomStep() {
    zoomBy(gesture_.zoomDir);
}

// The largest zoom keeps the whole puzzle inside the picture in every orientation.
void PuzzleDialog::zoomBy(int dir) {
    view_.zoom = std::min(steppedZoom(view_.zoom, dir), zoomLimit(puzzle_, view_));
    redraw();
}

} // namespace korvane
