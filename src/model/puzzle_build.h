#pragma once

#include "model/game_state.h"

namespace korvane {

// The largest sizes the sticker arrays hold: a cube row has N + 1 cells, a tetrahedron row
// 2N + 1 entries and its index table N + 1 pairs.
inline constexpr int kMaxCubeSize = kCells - 1;
inline constexpr int kMaxTetraSize = (kCells - 1) / 2;
// Stickers on a Piracube face: the centre diamond and four corner triangles.
inline constexpr int kPiracubeStickers = 5;

// Put a new, solved puzzle of the given kind and level into p in its standard view (45 degrees
// about x, then 45 about y). A kind other than 1..4 keeps the previous geometry. Levels are
// clamped to what the arrays hold (cube N <= 17, tetrahedron N <= 8, the Piracube always 3), so a
// bad level can never index past them.
void buildPuzzleState(Puzzle& p, int type, int level);

// The size N a build of this kind and level makes.
int buildLevel(int type, int level);

// The solved colouring test data: the number of stickers of each colour a built puzzle holds.
int stickersPerColour(const Puzzle& p);

// Each kind's own build of its geometry, colours and tables in its own frame, for its size.
void buildCube(Puzzle& p);
void buildTetrahedron(Puzzle& p);
void buildPiracube(Puzzle& p);
void buildSphere(Puzzle& p);

} // namespace korvane
