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

void drawWholePuzzle(GameState& g, Canvas& canvas) {
    clearBackBuffer(g, canvas);
    switch (g.puzzleType) {
    case kSphere:
        drawSphere(g, canvas);
        break;
    case kCube:
        drawCube(g, canvas);
        break;
    case kPiracube:
        drawPiracube(g, canvas);
        break;
    case kTetrahedron:
        drawTetrahedron(g, canvas);
        break;
    default:
        break;
    }
}

void drawFramePiece(GameState& g, Canvas& canvas) {
    switch (g.puzzleType) {
    case kCube:
        drawCubePiece(g, canvas);
        break;
    case kPiracube:
        drawPiracubePiece(g, canvas);
        break;
    case kTetrahedron:
        drawTetrahedronPiece(g, canvas);
        break;
    default:
        break;
    }
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
        const Point a = corners[edges[i].from];
        const Point b = corners[edges[i].to];
        cut[i] = {truncToPixel(a.x + static_cast<double>(b.x - a.x) * depth / n),
                  truncToPixel(a.y + static_cast<double>(b.y - a.y) * depth / n)};
    }
    drawBlackPolygon(canvas, cut, count);
}

void clearBackBuffer(const GameState& g, Canvas& canvas) {
    canvas.selectBrush(backgroundBrush(g.bgColour));
    canvas.rectangle(kClearLeft, kClearTop, kClearRight, kClearBottom);
}

void renderPuzzle(GameState& g, Canvas& canvas) {
    if (g.renderMode == 1) {
        drawWholePuzzle(g, canvas);
    } else if (g.renderMode == 2) {
        drawFramePiece(g, canvas);
    } else {
        return;
    }
    g.renderMode = 0;
}

} // namespace korvane
