#pragma once

#include "model/game_state.h"

namespace korvane {

// The rotation library: every movement of the puzzle is a rotation of the view-space corners,
// normals and sphere points in place. Angles are degrees; positive is right-handed.

// matC = matA x matB over indices 1..4.
void multiplyMatrices(GameState& g);
// Rotate the 3-vector p in place using rotCos and rotSin as they stand.
void rotatePointX(GameState& g, double* p);
void rotatePointY(GameState& g, double* p);
// About the current turn axis (chosen by puzzleType and turnAxis).
void rotateAboutAxis(GameState& g, double* p);

// Rotate the whole puzzle about the view x or y axis (sphere: its points; else corners, normals).
void spinX(GameState& g, double angle);
void spinY(GameState& g, double angle);
// Rotate all 8 corners and 6 normals about the current turn axis.
void rotateModel(GameState& g, double angle);

} // namespace korvane
