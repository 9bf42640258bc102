#pragma once

#include "model/game_state.h"

namespace korvane {

// The sticker slot under a point: slot 0 when there is none.
struct StickerHit {
    int slot = 0;
    int row = 0;
    int col = 0;
};

// The turn a stroke names: op 0 none, 1..4 turnAxis1..4 with layer, 5 turnCorner with corner.
struct TurnRequest {
    int op = 0;
    int dir = 0;
    int layer = 0;
    int corner = -1;
    friend bool operator==(const TurnRequest&, const TurnRequest&) = default;
};

// The sticker a press at (x, y) hits, scanned against the screen records of the last full
// redraw in the order of the kind (the sphere has none).
StickerHit hitTestPress(const GameState& g, int x, int y);

// Decode a finished stroke from the pressed sticker (gestureState, pressedRow, pressedCol) to
// the release point.
TurnRequest decodeCubeStroke(const GameState& g, int x, int y);
TurnRequest decodeTetraStroke(const GameState& g, int x, int y);
TurnRequest decodePiracubeStroke(const GameState& g, int x, int y);
// By puzzleType; none for the sphere or when no sticker was pressed.
TurnRequest decodeStroke(const GameState& g, int x, int y);

} // namespace korvane
