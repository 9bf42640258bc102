#include "input/sticker_scan.h"
#include "input/strokes.h"

namespace korvane {

namespace {

// The cube's stroke rule by face slot 1..3: the axis a stroke along a row turns, the axis a
// stroke along a column turns, and the sign a column stroke carries. Each slot shows the face
// perpendicular to the one axis its strokes never turn; slot 3 turns its columns the other way.
struct CubeStrokeRule {
    int rowOp;
    int colOp;
    int colSign;
};
constexpr CubeStrokeRule kCubeStrokeRules[3] = {{3, 2, +1}, {3, 1, +1}, {2, 1, -1}};

} // namespace

TurnRequest decodeCubeStroke(const GameState& g, int x, int y) {
    const int face = g.gestureState;
    if (face < 1 || face > 3 || !inFaceOutline(g, kCube, face, x, y)) {
        return {};
    }
    const StickerHit hit = findSticker(g, kCube, face, x, y);
    if (hit.slot == 0) {
        return {};
    }
    const int sign = g.faceSign[face - 1];
    const CubeStrokeRule& rule = kCubeStrokeRules[face - 1];
    if (hit.row == g.pressedRow && hit.col != g.pressedCol) {
        return {rule.rowOp, hit.col > g.pressedCol ? sign : -sign, hit.row, -1};
    }
    if (hit.col == g.pressedCol && hit.row != g.pressedRow) {
        const int dir = hit.row > g.pressedRow ? sign : -sign;
        return {rule.colOp, dir * rule.colSign, hit.col, -1};
    }
    return {}; // a tap or a diagonal
}

TurnRequest decodeStroke(const GameState& g, int x, int y) {
    if (g.gestureState == 0) {
        return {};
    }
    switch (g.puzzleType) {
    case kCube:
        return decodeCubeStroke(g, x, y);
    case kTetrahedron:
        return decodeTetraStroke(g, x, y);
    case kPiracube:
        return decodePiracubeStroke(g, x, y);
    default:
        return {};
    }
}

} // namespace korvane
