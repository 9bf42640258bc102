#include "render/renderer.h"

#include <algorithm>

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

// How each kind draws itself whole and one piece of a turn's frame.
struct KindDrawing {
    int puzzleType;
    void (*whole)(const Puzzle&, const View&, Canvas&, ScreenRecords&);
    void (*piece)(const Puzzle&, const View&, const Move&, int, Canvas&);
};
constexpr KindDrawing kKindDrawings[] = {
    {kCube, drawCube, drawCubePiece},
    {kTetrahedron, drawTetrahedron, drawTetrahedronPiece},
    {kPiracube, drawPiracube, drawPiracubePiece},
    {kSphere, drawSphere, nullptr},
};

const KindDrawing* drawingOf(int puzzleType) {
    for (const KindDrawing& kind : kKindDrawings) {
        if (kind.puzzleType == puzzleType) {
            return &kind;
        }
    }
    return nullptr;
}

} // namespace

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
    if (const KindDrawing* kind = drawingOf(puzzle.puzzleType)) {
        kind->whole(puzzle, view, canvas, records);
    }
}

void drawTurnPiece(const Puzzle& puzzle, const View& view, const Move& move, int piece,
                   Canvas& canvas) {
    const KindDrawing* kind = drawingOf(puzzle.puzzleType);
    if (kind != nullptr && kind->piece != nullptr) {
        kind->piece(puzzle, view, move, piece, canvas);
    }
}

} // namespace korvane
