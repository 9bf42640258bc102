#include "render/renderer.h"

#include <algorithm>

#include "model/puzzle_kind.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/puzzle_drawing.h"
#include "render/sticker.h"

namespace korvane {

namespace {

// The whole back buffer, one pixel beyond it on every side.
constexpr int kClearLeft = -1;
constexpr int kClearTop = -1;
constexpr int kClearRight = kBackBufferWidth;
constexpr int kClearBottom = kBackBufferHeight;

// Cut codes start below the layer codes: -4 - K names the cut at depth K.
constexpr int kFirstCutCode = -4;

// The tetrahedron's colour faces 0..3 take these rows of the cube palette.
constexpr int kTetraPaletteRows[4] = {0, 5, 4, 1};
constexpr double kCubeFaceThreshold = 0.15;
constexpr double kTetraShade = 0.85;

// Always: a kind whose turns are axis turns has a frame order and a normal for every axis.
constexpr KindDrawing kKindDrawings[] = {
    {kCube, drawCube, drawCubePiece, kCubeFaceThreshold, false, 1.0, nullptr, 6, 0, {0, 2, 5, -1}},
    {kTetrahedron,
     drawTetrahedron,
     drawTetrahedronPiece,
     0.0,
     false,
     kTetraShade,
     kTetraPaletteRows,
     4,
     1,
     {2, 3, 1, 0}},
    {kPiracube,
     drawPiracube,
     drawPiracubePiece,
     kCubeFaceThreshold,
     false,
     1.0,
     nullptr,
     6,
     -1,
     {-1, -1, -1, -1}},
    {kSphere, drawSphere, nullptr, 0.0, true, 1.0, nullptr, 6, -1, {-1, -1, -1, -1}},
};

} // namespace

const KindDrawing* kindDrawing(int puzzleType) {
    return entryForKind(kKindDrawings, puzzleType);
}

int cubeLevel(const Puzzle& g) {
    return std::clamp(sizeLevel(g), 0, kCells - 1);
}

int tetraLevel(const Puzzle& g) {
    return std::clamp(sizeLevel(g), 0, (kCells - 1) / 2);
}

PieceCode decodePieceCode(int code, int level) {
    if (code >= 0 && code <= level) {
        return {PieceCode::Layer, code};
    }
    const int depth = kFirstCutCode - code;
    if (depth >= 1 && depth <= level) {
        return {PieceCode::Cut, depth};
    }
    return {PieceCode::Nothing, 0};
}

void drawCut(Canvas& canvas, const Point* corners, const CutEdge* edges, int count, int depth,
             int layers) {
    Point cut[4];
    const double n = layers;
    for (int i = 0; i < count; ++i) {
        cut[i] = pointBetween(corners[edges[i].from], corners[edges[i].to], depth, n);
    }
    drawBlackPolygon(canvas, cut, count);
}

void clearBackBuffer(const View& view, Canvas& canvas) {
    canvas.selectBrush(backgroundBrush(view.bgColour));
    canvas.rectangle(kClearLeft, kClearTop, kClearRight, kClearBottom);
}

void drawWholePuzzle(const Puzzle& puzzle, const View& view, Canvas& canvas,
                     ScreenRecords& records) {
    clearBackBuffer(view, canvas);
    if (const KindDrawing* kind = kindDrawing(puzzle.puzzleType)) {
        kind->whole(puzzle, view, canvas, records);
    }
}

void drawTurnPiece(const Puzzle& puzzle, const View& view, const Move& move, int piece,
                   Canvas& canvas) {
    const KindDrawing* kind = kindDrawing(puzzle.puzzleType);
    if (kind != nullptr && kind->piece != nullptr) {
        kind->piece(puzzle, view, move, piece, canvas);
    }
}

} // namespace korvane
