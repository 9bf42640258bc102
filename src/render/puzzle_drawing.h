#pragma once

#include "model/game_state.h"
#include "model/move.h"
#include "render/canvas.h"

namespace korvane {

// The drawing passes of each puzzle kind behind the renderer. A whole pass draws every visible
// sticker and fills the screen records; a piece pass draws one part of a turn's frame (a layer
// or a cut of an axis turn, a half of a corner turn) and records nothing.

// The level N the drawing uses, held to what the sticker arrays can hold.
int cubeLevel(const Puzzle& p);
int tetraLevel(const Puzzle& p);

// What a piece code of an axis turn names: a layer 0..N, the cut at depth 1..N between layers
// K - 1 and K (code -4 - K), or nothing visible.
struct PieceCode {
    enum Kind { Layer, Cut, Nothing } kind;
    int index; // the layer or the depth K
};
PieceCode decodePieceCode(int code, int level);

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
    const View* shown; // zoom, background and the colour aid
};
// The face test of the kind; a face that passes is projected.
bool viewCubeFace(const Puzzle& p, const View& view, int face, CubeFaceView& out);
// A shown face's outline and faceSign in the records of its slot.
void recordCubeFace(const CubeFaceView& face, ScreenRecords& records);

void drawCube(const Puzzle& p, const View& view, Canvas& canvas, ScreenRecords& records);
void drawCubePiece(const Puzzle& p, const View& view, const Move& move, int piece, Canvas& canvas);
void drawTetrahedron(const Puzzle& p, const View& view, Canvas& canvas, ScreenRecords& records);
void drawTetrahedronPiece(const Puzzle& p, const View& view, const Move& move, int piece,
                          Canvas& canvas);
void drawPiracube(const Puzzle& p, const View& view, Canvas& canvas, ScreenRecords& records);
void drawPiracubePiece(const Puzzle& p, const View& view, const Move& move, int piece,
                       Canvas& canvas);
void drawSphere(const Puzzle& p, const View& view, Canvas& canvas, ScreenRecords& records);

// How one kind is drawn: its whole and piece passes; its face test (nz above the threshold, or
// also at it); the shade's scale of nz; the cube palette rows its colour numbers take (nullptr:
// number n is row n); the painter's order of its axis turns' frames (-1: none) and the normal of
// the face each axis's layer 0 holds, [axis - 1].
struct KindDrawing {
    int puzzleType;
    void (*whole)(const Puzzle&, const View&, Canvas&, ScreenRecords&);
    void (*piece)(const Puzzle&, const View&, const Move&, int, Canvas&);
    double faceThreshold;
    bool faceAtThreshold;
    double shadeScale;
    const int* paletteRows;
    int paletteColours;
    int frameOrder;
    int layerZeroNormal[4];
};
// The drawing of a kind, or nullptr for a code that names none.
const KindDrawing* kindDrawing(int puzzleType);

} // namespace korvane
