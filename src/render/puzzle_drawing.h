#pragma once

#include "model/game_state.h"
#include "render/canvas.h"

namespace korvane {

// The drawing passes of each puzzle kind behind renderPuzzle. A full pass draws every visible
// sticker and stores the screen records; a piece pass draws one part of an animation frame and
// stores no sticker record.

// The level N the drawing uses, held to what the sticker arrays can hold.
int cubeLevel(const GameState& g);
int tetraLevel(const GameState& g);

// What the piece code in layer names during a frame: a layer 0..N, the cut at depth 1..N
// between layers K - 1 and K (code -4 - K), or nothing visible.
struct PieceCode {
    enum Kind { Layer, Cut, Nothing } kind;
    int index; // the layer or the depth K
};
PieceCode decodePieceCode(int layer, int level);

// The black surface at depth K of n: each point K/n of the way along an edge between two
// projected corners, in polygon order.
struct CutEdge {
    int from;
    int to;
};
void drawCut(Canvas& canvas, const Point* corners, const CutEdge* edges, int count, int depth,
             int layers);

// A visible cube or Piracube face: its normal index, slot, projected outline Q0..Q3 and shade.
struct CubeFaceView {
    int face;
    int slot;
    Point q[4];
    int brightness;
};
// The face test of the kind; a face that passes is projected and its outline and faceSign are
// stored in its slot.
bool viewCubeFace(GameState& g, int face, CubeFaceView& view);

void drawCube(GameState& g, Canvas& canvas);
void drawCubePiece(GameState& g, Canvas& canvas);
void drawTetrahedron(GameState& g, Canvas& canvas);
void drawTetrahedronPiece(GameState& g, Canvas& canvas);
void drawPiracube(GameState& g, Canvas& canvas);
void drawPiracubePiece(GameState& g, Canvas& canvas);
void drawSphere(const GameState& g, Canvas& canvas);

} // namespace korvane
