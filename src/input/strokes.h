#pragma once

#include "model/game_state.h"
#include "model/move.h"

namespace korvane {

// What the stylus is judged against: the puzzle as it stands, the screen records of the last
// full redraw, and the press that started the stroke.
struct StylusTarget {
    const Puzzle& puzzle;
    const ScreenRecords& screen;
    const Gesture& gesture;
};

// The sticker slot under a point: slot 0 when there is none.
struct StickerHit {
    int slot = 0;
    int row = 0;
    int col = 0;
};

// The sticker a press at (x, y) hits, scanned against the screen records of the last full
// redraw in the order of the kind (the sphere has none).
StickerHit hitTestPress(const StylusTarget& g, int x, int y);

// The move a finished stroke names, from the pressed sticker (gestureState, pressedRow,
// pressedCol) to the release point; no move for the sphere or when no sticker was pressed.
Move decodeStroke(const StylusTarget& g, int x, int y);

// Each kind's own stroke rules behind decodeStroke.
Move decodeCubeStroke(const StylusTarget& g, int x, int y);
Move decodeTetraStroke(const StylusTarget& g, int x, int y);
Move decodePiracubeStroke(const StylusTarget& g, int x, int y);

} // namespace korvane
