#include "app/commands.h"
#include "app/puzzle_dialog.h"

namespace korvane {

// The end of an undo. A timed game has one level: nothing more to undo. In practice the move
// before it can be undone next, and the undone move waits to be redone.
void PuzzleDialog::endUndo() {
    if (!practising()) {
        record_.undoState = -1;
        setUndoButton(false);
        return;
    }
    redo_.push_back(record_.lastMove);
    platform_.enableButton(kCmdRedo, true);
    if (record_.moves.empty()) {
        record_.undoState = -1;
        setUndoButton(false);
        return;
    }
    record_.lastMove = record_.moves.back();
    record_.undoState = 0;
    setUndoButton(true);
}

// A redo is the undone move played again as the player's move, the rest still to redo.
void PuzzleDialog::redoMove() {
    if (!practising() || redo_.empty()) {
        return;
    }
    std::vector<Move> rest(redo_.begin(), redo_.end() - 1);
    const Move move = redo_.back();
    startMove(move);
    redo_ = std::move(rest);
    platform_.enableButton(kCmdRedo, !redo_.empty());
}

void PuzzleDialog::clearRedo() {
    redo_.clear();
    platform_.enableButton(kCmdRedo, false);
}

} // namespace korvane
