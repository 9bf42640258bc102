#pragma once

#include "model/game_state.h"
#include "model/move.h"
#include "render/canvas.h"

namespace korvane {

// One piece of an axis turn's frame: the layer index 0..N or a cut code -4 - K, drawn turned or
// still.
struct FramePiece {
    int code;
    bool turned;
};

inline constexpr int kMaxFramePieces = 2 * kCells + 8;

// The pieces of one cube or tetrahedron frame of an axis move in painter's order, by the sign
// of the z of the normal of the face that the axis's layer 0 holds. Returns the number written.
int axisFramePieces(const Puzzle& puzzle, const Move& move, FramePiece out[kMaxFramePieces]);

// A turn's animation as it runs: the frame drawn last of firstFrame..lastFrame. A corner turn
// whose turning half is in front keeps the model turned between its frames (modelTurned).
struct TurnFrames {
    Move move;
    int frame = 0;
    int firstFrame = 0;
    int lastFrame = -1; // below firstFrame: the turn shows no frames
    double step = 0.0;  // degrees a frame turns
    bool modelTurned = false;
};

// The frames of a move on this puzzle: axis turns show frames 0..F, corner turns 1..F, F the
// kind's frame count; a move the puzzle has no turn for shows none.
TurnFrames turnFramesOf(const Puzzle& puzzle, const Move& move);

// Draw frame `frames.frame` over a cleared back buffer: the still parts, then the turning part
// turned by the frame's angle, in painter's order. The model's geometry is turned for the pieces
// that need it and left as the next frame expects it.
void drawTurnFrame(Puzzle& puzzle, const View& view, TurnFrames& frames, Canvas& canvas);

// After the last frame drawn (the last of the turn, or an earlier one when a turn is cut
// short): the model put back where the turn found it.
void endTurnFrames(Puzzle& puzzle, TurnFrames& frames);

} // namespace korvane
