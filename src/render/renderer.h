#pragma once

#include "model/game_state.h"
#include "render/canvas.h"

namespace korvane {

// The one drawing routine, chosen by renderMode: 0 nothing, 1 clear the back buffer and draw
// the whole puzzle (storing faceOutline, faceSign, stickerPoly), 2 draw the animation piece
// named by layer (cube, tetrahedron) or drawTurningPart (Piracube) over what is there.
// Leaves renderMode at 0 after modes 1 and 2.
void renderPuzzle(GameState& g, Canvas& canvas);

// Clear the whole back buffer (-1, -1, 242, 322) with the background brush, which stays selected.
void clearBackBuffer(const GameState& g, Canvas& canvas);

} // namespace korvane
