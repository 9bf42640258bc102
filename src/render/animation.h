#pragma once

#include "model/game_state.h"

namespace korvane {

// One piece of a layer-turn frame: the layer index 0..N or a cut code -4 - K, drawn turned or
// still.
struct FramePiece {
    int code;
    bool turned;
};

inline constexpr int kMaxFramePieces = 2 * kCells + 8;

// The pieces of one cube or tetrahedron frame in painter's order, for the turning layer L of
// the current turnAxis, by the sign of the z of the normal of the face that layer 0 holds.
// Returns the number of pieces written.
int axisFramePieces(const GameState& g, int turningLayer, FramePiece out[kMaxFramePieces]);

} // namespace korvane
