#pragma once

#include "model/game_state.h"
#include "model/move.h"
#include "render/canvas.h"

namespace korvane {

// Clear the whole back buffer (-1, -1, 242, 322) with the background brush, which stays selected.
void clearBackBuffer(const View& view, Canvas& canvas);

// Clear the back buffer and draw the whole puzzle; the screen records are filled afresh from what
// is drawn, for the stylus.
void drawWholePuzzle(const Puzzle& puzzle, const View& view, Canvas& canvas,
                     ScreenRecords& records);

// Draw one piece of a turn's frame over what is there: for an axis turn the layer 0..N or the
// cut (-4 - K) the piece code names, for a corner turn the still (0) or the turning (1) half.
void drawTurnPiece(const Puzzle& puzzle, const View& view, const Move& move, int piece,
                   Canvas& canvas);

} // namespace korvane
