#pragma once

#include "model/game_state.h"
#include "model/move.h"

namespace korvane {

// A move applied to the puzzle's colours, as the animation shows it: the colours of the turning
// part move as that part turns by the kind's angle about the move's axis (or corner),
// right-handed for dir = +1. A move the puzzle has no turn for moves nothing.
void applyMove(Puzzle& puzzle, const Move& move);
// The inverse: applyInverse after applyMove restores the colours.
void applyInverse(Puzzle& puzzle, const Move& move);

// The colour permutations behind applyMove, by kind. Arguments that name no turn move nothing.
void permuteCubeColours(Puzzle& g, int axis, int layer, int dir);        // axis 1..3
void permuteTetrahedronColours(Puzzle& g, int axis, int layer, int dir); // axis 1..4
// The Piracube half at a corner (0..7): the corner's five three-cycles, once for dir = +1,
// twice for dir = -1.
void permutePiracubeColours(Puzzle& g, int corner, int dir);

} // namespace korvane
