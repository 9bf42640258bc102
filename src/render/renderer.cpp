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
constexpr int kClearRight = 242;
constexpr int kClearBottom = 322;

// Cut codes start below the layer codes: -4 - K names the cut at depth K.
constexpr int kFirstCutCode = -4;

// How each kind draws itself whole and, when it has turns, one piece of a turn's frame.
struct KindDrawing {
    int puzzleType;
    void (*whole)(GameState&, Canvas&);
    void (*piece)(GameState&, Canvas&);
};
const KindDrawing kKindDrawings[] = {
    {kCube, drawCube, drawCubePiece},
    {kTetrahedron, drawTetrahedron, drawTetrahedronPiece},
    {kPiracube, drawPiracube, drawPiracubePiece},
    {kSphere, [](GameState& g, Canvas& canvas) { drawSphere(g, canvas); }, nullptr},
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

int cubeLevel(const GameState& g) {
    return std::clamp(sizeLevel(g), 0, kCells - 1);
}

int tetraLevel(const GameState& g) {
    return std::clamp(sizeLevel(g), 0, (kCells - 1) / 2);
}

PieceCode decodePieceCode(int layer, int level) {
    if (layer >= 0 && layer <= level) {
        return {PieceCode::Layer, layer};
    }
    const int depth = kFirstCutCode - layer;
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

void clearBackBuffer(const GameState& g, Canvas& canvas) {
    canvas.selectBrush(backgroundBrush(g.bgColour));
    canvas.rectangle(kClearLeft, kClearTop, kClearRight, kClearBottom);
}

void renderPuzzle(GameState& g, Canvas& canvas) {
    if (g.renderMode != 1 && g.renderMode != 2) {
        return;
    }
    const KindDrawing* kind = drawingOf(g.puzzleType);
    if (g.renderMode == 1) {
        clearBackBuffer(g, canvas);
        if (kind != nullptr) {
            kind->whole(g, canvas);
        }
    } else if (kind != nullptr && kind->piece != nullptr) {
        kind->piece(g, canvas);
    }
    g.renderMode = 0;
}

} // namespace korvane
