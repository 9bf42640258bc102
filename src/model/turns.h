#pragma once

#include "model/game_state.h"

namespace korvane {

// Colour permutations of the layer turns. Each copies stickerColour into savedColour first and
// then moves the colours as the turn of the layer by +90 (cube), +120 (tetrahedron) degrees
// about the axis, right-handed, for dir = +1; dir = -1 applies the inverse.

void permuteCubeColours(GameState& g, int axis, int layer, int dir);        // axis 1..3
void permuteTetrahedronColours(GameState& g, int axis, int layer, int dir); // axis 1..4
// The Piracube half at a corner (0..7): the corner's five three-cycles, once for dir = +1,
// twice for dir = -1.
void permutePiracubeColours(GameState& g, int corner, int dir);

} // namespace korvane
