#include "app/puzzle_dialog.h"

#include <cstring>

#include "model/puzzle_kind.h"
#include "model/turns.h"
#include "render/renderer.h"

namespace korvane {

// A turn: recorded, then animated one frame per tick of the frame clock (the still parts, then
// the turning part turned by the frame's angle); at its end the colours move and the puzzle is
// drawn whole again. Between turns only the colours have changed.
void PuzzleDialog::performTurn(const Move& move) {
    handleInput({PendingInput::Kind::Turn, 0, 0, move});
}

void PuzzleDialog::startMove(const Move& move) {
    if (!moveFits(puzzle_, move)) {
        return;
    }
    if (record_.undoState != 1) {
        recordMove(move);
        clearRedo(); // a move of the player's own: the undone ones are gone
    }
    startTurn(move);
}

void PuzzleDialog::startTurn(const Move& move) {
    hint_.reset();
    running_ = turnFramesOf(puzzle_, move);
    if (atOnce_) {
        return; // finishAtOnce ends it
    }
    if (running_->lastFrame < running_->firstFrame) {
        finishTurn();
        return;
    }
    drawFrame();
    platform_.startFrameClock();
}

void PuzzleDialog::OnFrameTick() {
    if (!running_) {
        platform_.stopFrameClock();
        return;
    }
    if (running_->frame < running_->lastFrame) {
        ++running_->frame;
        drawFrame();
        return;
    }
    platform_.stopFrameClock();
    finishTurn();
}

void PuzzleDialog::drawFrame() {
    std::memcpy(frameStart_.corner, puzzle_.corner, sizeof frameStart_.corner);
    std::memcpy(frameStart_.faceNormal, puzzle_.faceNormal, sizeof frameStart_.faceNormal);
    frameStart_.frames = *running_;
    drawTurnFrame(puzzle_, view_, *running_, canvas_);
    pictureLost_ = false;
    platform_.repaintNow();
}

// The end of every turn: the model put back, the colours moved, the whole puzzle drawn afresh
// (with its screen records), then the solved test while a game is timed.
void PuzzleDialog::finishTurn() {
    TurnFrames frames = *running_;
    running_.reset();
    endTurnFrames(puzzle_, frames);
    applyMove(puzzle_, frames.move);
    gesture_.gestureState = 0;
    redraw();
    if (record_.clockRunning == 1 && !replay_) {
        checkSolved();
    }
    afterTurn();
}

// What follows a turn: the end of an undo, the scramble's next turn or its end, then the input
// that waited.
void PuzzleDialog::afterTurn() {
    if (undoing_) {
        undoing_ = false;
        endUndo();
    }
    if (scrambling_) {
        if (!scrambleLeft_.empty()) {
            const Move next = scrambleLeft_.front();
            scrambleLeft_.pop_front();
            startTurn(next);
            return;
        }
        endScramble();
        clearRedo();
    }
    runPendingInput();
}

void PuzzleDialog::runPendingInput() {
    const bool wasDraining = draining_;
    draining_ = true;
    while (!running_ && !pending_.empty()) {
        const PendingInput input = pending_.front();
        pending_.pop_front();
        handleInput(input);
    }
    draining_ = wasDraining;
}

// Before a command that replaces the puzzle: the running turn, the rest of a scramble and the
// input that waited are all performed at once, without frames, in order.
void PuzzleDialog::finishAtOnce() {
    if (!busy()) {
        return;
    }
    platform_.stopFrameClock();
    atOnce_ = true;
    if (!running_) {
        runPendingInput();
    }
    while (running_) {
        finishTurn();
    }
    atOnce_ = false;
}

} // namespace korvane
