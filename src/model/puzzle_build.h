#pragma once

#include "model/game_state.h"

namespace korvane {

// The largest sizes the sticker arrays hold: a cube row has N + 1 cells, a tetrahedron row
// 2N + 1 entries and its index table N + 1 pairs.
inline constexpr int kMaxCubeSize = kCells - 1;
inline constexpr int kMaxTetraSize = (kCells - 1) / 2;

// Put a new, solved puzzle of the given kind and level into g in its standard view (45 degrees
// about x, then 45 about y), and stop the game: counters, undo record, layer, axis and gesture
// are reset. The platform side of a build (clock timer, undo button, pen, stored settings) is
// the caller's. A kind other than 1..4 keeps the previous geometry. Levels are clamped to what
// the arrays hold (cube N <= 17, tetrahedron N <= 8), so a bad level can never index past them.
void buildPuzzleState(GameState& g, int type, int level);

// The size N a build of this kind and level makes, as far as it is bounded: the cube 1..17, the
// tetrahedron 1..8, the Piracube always 3; other kinds keep the level.
int buildLevel(int type, int level);

// The solved colouring test data: the number of stickers of each colour a built puzzle holds.
int stickersPerColour(const GameState& g);

} // namespace korvane
