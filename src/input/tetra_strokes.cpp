#include "input/sticker_scan.h"
#include "input/strokes.h"

namespace korvane {

namespace {

// The tetrahedron's strokes within a face, by face slot 1..4: the axis turned by a stroke along
// a row, along a row of frame B and along a row of frame A.
struct TetraStrokeRule {
    int rowOp;
    int frameBOp;
    int frameAOp;
};
constexpr TetraStrokeRule kTetraStrokeRules[4] = {{2, 4, 3}, {1, 3, 4}, {1, 4, 2}, {1, 2, 3}};

// The three corner triangles of a face: (0, 0), (0, 2N) and (N, 0).
enum TriCorner { kRowStart, kRowEnd, kApex };

// A corner stroke: from the corner triangle of one face slot onto the corner triangle of one of
// the two other slots that meet there, turning the tip at that corner (layer N).
struct CornerTarget {
    int slot;
    TriCorner corner;
    int op;
    int dir;
};
// The two targets of a pressed corner, in the order they are tried; a stroke and its reverse
// turn the same tip in opposite directions.
struct CornerStroke {
    int slot;
    TriCorner corner;
    CornerTarget targets[2];
};
constexpr CornerStroke kTetraCornerStrokes[12] = {
    {1, kRowStart, {{2, kRowEnd, 4, -1}, {3, kRowStart, 4, +1}}},
    {1, kRowEnd, {{4, kRowEnd, 3, -1}, {2, kRowStart, 3, +1}}},
    {1, kApex, {{3, kRowEnd, 2, -1}, {4, kRowStart, 2, +1}}},
    {2, kRowStart, {{1, kRowEnd, 3, -1}, {4, kRowEnd, 3, +1}}},
    {2, kRowEnd, {{1, kRowStart, 4, +1}, {3, kRowStart, 4, -1}}},
    {2, kApex, {{4, kApex, 1, -1}, {3, kApex, 1, +1}}},
    {3, kRowStart, {{2, kRowEnd, 4, +1}, {1, kRowStart, 4, -1}}},
    {3, kRowEnd, {{1, kApex, 2, +1}, {4, kRowStart, 2, -1}}},
    {3, kApex, {{4, kApex, 1, +1}, {2, kApex, 1, -1}}},
    {4, kRowStart, {{1, kApex, 2, -1}, {3, kRowEnd, 2, +1}}},
    {4, kRowEnd, {{1, kRowEnd, 3, +1}, {2, kRowStart, 3, -1}}},
    {4, kApex, {{3, kApex, 1, -1}, {2, kApex, 1, +1}}},
};

struct Cell {
    int row;
    int col;
};

Cell cornerCell(int n, TriCorner corner) {
    switch (corner) {
    case kRowStart:
        return {0, 0};
    case kRowEnd:
        return {0, 2 * n};
    default:
        return {n, 0};
    }
}

// Where a triangle lies when its face's grid is counted from the face's two other corners.
struct Frame {
    int col;
    int row;
};
struct Frames {
    Frame a;
    Frame b;
};

Frames framesOf(const StylusTarget& g, int row, int col) {
    const int* e = g.puzzle.triIndexTable[row][col / 2] + (col % 2 == 0 ? 0 : 4);
    return {{e[0], e[1]}, {e[2], e[3]}};
}

bool onFace(int n, int row, int col) {
    return row >= 0 && row <= n && col >= 0 && col <= 2 * n - 2 * row;
}

Move strokeWithinFace(const StylusTarget& g, int face, const StickerHit& hit) {
    const int r0 = g.gesture.pressedRow;
    const int c0 = g.gesture.pressedCol;
    const TetraStrokeRule& rule = kTetraStrokeRules[face - 1];
    if (hit.row == r0 && hit.col == c0) {
        return {};
    }
    if (hit.row == r0) {
        return Move::axisTurn(rule.rowOp, hit.row, hit.col > c0 ? 1 : -1);
    }
    if (!onFace(gridLevel(g, kTetrahedron), r0, c0)) {
        return {};
    }
    const Frames p = framesOf(g, r0, c0);
    const Frames q = framesOf(g, hit.row, hit.col);
    if (q.b.row == p.b.row && q.b.col != p.b.col) {
        return Move::axisTurn(rule.frameBOp, q.b.row, q.b.col > p.b.col ? 1 : -1);
    }
    if (q.a.row == p.a.row && q.a.col != p.a.col) {
        return Move::axisTurn(rule.frameAOp, q.a.row, q.a.col > p.a.col ? 1 : -1);
    }
    return {};
}

Move cornerStroke(const StylusTarget& g, int face, int x, int y) {
    const int n = gridLevel(g, kTetrahedron);
    for (const CornerStroke& stroke : kTetraCornerStrokes) {
        const Cell pressed = cornerCell(n, stroke.corner);
        if (stroke.slot != face || pressed.row != g.gesture.pressedRow ||
            pressed.col != g.gesture.pressedCol) {
            continue;
        }
        for (const CornerTarget& t : stroke.targets) {
            const Cell c = cornerCell(n, t.corner);
            if (inSticker(g, kTetrahedron, t.slot, c.row, c.col, x, y)) {
                return Move::axisTurn(t.op, n, t.dir);
            }
        }
        return {};
    }
    return {};
}

} // namespace

Move decodeTetraStroke(const StylusTarget& g, int x, int y) {
    const int face = g.gesture.gestureState;
    if (face < 1 || face > 4) {
        return {};
    }
    if (inFaceOutline(g, kTetrahedron, face, x, y)) {
        const StickerHit hit = findSticker(g, kTetrahedron, face, x, y);
        if (hit.slot != 0) {
            return strokeWithinFace(g, face, hit);
        }
    }
    return cornerStroke(g, face, x, y);
}

} // namespace korvane
