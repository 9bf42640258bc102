#pragma once

#include "model/game_state.h"
#include "model/move.h"

namespace korvane {

// The rotation library: every movement of the puzzle is a rotation of the view-space corners,
// normals and sphere points in place. Angles are degrees; positive is right-handed.

// Rotate the whole puzzle about the view x or y axis (sphere: its points; else corners, normals).
void spinX(Puzzle& puzzle, double angle);
void spinY(Puzzle& puzzle, double angle);
// Rotate all 8 corners and 6 normals about the axis of a move: the normal its axis runs along,
// or its corner. A move without an axis on this puzzle rotates about x.
void rotateModel(Puzzle& puzzle, const Move& move, double angle);

} // namespace korvane
