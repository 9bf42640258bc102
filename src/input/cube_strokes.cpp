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

Move decodeCubeStroke(const StylusTarget& g, int x, int y) {
    const int face = g.gesture.gestureState;
    if (face < 1 || face > 3 || !inFaceOutline(g, kCube, face, x, y)) {
        return {};
    }
    const StickerHit hit = findSticker(g, kCube, face, x, y);
    if (hit.slot == 0) {
        return {};
    }
    const int sign = g.screen.faceSign[face - 1];
    const CubeStrokeRule& rule = kCubeStrokeRules[face - 1];
    if (hit.row == g.gesture.pressedRow && hit.col != g.gesture.pressedCol) {
        return Move::axisTurn(rule.rowOp, hit.row, hit.col > g.gesture.pressedCol ? sign : -sign);
    }
    if (hit.col == g.gesture.pressedCol && hit.row != g.gesture.pressedRow) {
        const int dir = hit.row > g.gesture.pressedRow ? sign : -sign;
        return Move::axisTurn(rule.colOp, hit.col, dir * rule.colSign);
    }
    return {}; // a tap or a diagonal
}

} // namespace korvane
