#pragma once

#include <algorithm>
#include <ostream>

#include "input/strokes.h"
#include "model/game_state.h"

namespace korvane {

inline void PrintTo(const TurnRequest& t, std::ostream* os) {
    *os << "{op " << t.op << ", dir " << t.dir << ", layer " << t.layer << ", corner " << t.corner
        << "}";
}

namespace testing_layout {

// Hand-made screen records, as a redraw could leave them: face slot s lies at x = 1000 s, its
// sticker slot (r, c) is a 10-pixel cell at row r and column c there (a square for the cube, its
// top-left half for the triangles), the outline covers them all, and every face faces the viewer.
inline constexpr int kCell = 10;

inline Point cellPoint(int slot, int row, int col) {
    return {1000 * slot + col * kCell + 2, 100 + row * kCell + 2};
}

inline void setPolygon(Point* p, int points, int x, int y, int side) {
    p[0] = {x, y};
    p[1] = {x + side, y};
    if (points == 4) {
        p[2] = {x + side, y + side};
        p[3] = {x, y + side};
    } else {
        p[2] = {x, y + side};
    }
}

inline void setCell(GameState& g, int slot, int row, int col) {
    const int points = g.puzzleType == kCube ? 4 : 3;
    const Point at = cellPoint(slot, row, col);
    setPolygon(g.stickerPoly[slot - 1][row][col].p, points, at.x - 2, at.y - 2, kCell - 1);
}

// The puzzle build's frames of every triangle: [r][m] holds (colA, rowA, colB, rowB) of the
// upright triangle (r, 2m), then of the inverted one (r, 2m + 1).
inline void fillTriIndexTable(GameState& g, int n) {
    for (int r = 0; r <= n; ++r) {
        for (int m = 0; m <= n; ++m) {
            const int e[8] = {2 * (n - m - r),     m, 2 * r,     n - m - r,
                              2 * (n - m - r) - 1, m, 2 * r + 1, n - m - r - 1};
            std::copy(e, e + 8, g.triIndexTable[r][m]);
        }
    }
}

// Cube of level n, tetrahedron of level n, or the Piracube (its handles and a centre record at
// (0, 0)); signs are the faceSign of slots 1..3.
inline void layOut(GameState& g, int type, int n, int sign1 = +1, int sign2 = +1, int sign3 = +1) {
    g.puzzleType = type;
    g.size = n;
    g.twoSize = 2 * n;
    const int signs[3] = {sign1, sign2, sign3};
    for (int k = 0; k < kFaces; ++k) {
        g.faceNormal[k][2] = 1.0;
    }
    const int slots = type == kTetrahedron ? 4 : 3;
    for (int s = 1; s <= slots; ++s) {
        const Point at = cellPoint(s, 0, 0);
        const int side = type == kTetrahedron ? 4 * (n + 1) * kCell : (n + 1) * kCell;
        setPolygon(g.faceOutline[s - 1], type == kTetrahedron ? 3 : 4, at.x - 3, at.y - 3, side);
        if (s <= 3) {
            g.faceSign[s - 1] = signs[s - 1];
        }
        for (int r = 0; r <= n; ++r) {
            for (int c = 0; c <= (type == kTetrahedron ? 2 * n - 2 * r : n); ++c) {
                if (type != kPiracube || (r == 0 && c == 0) || (r >= 1 && r <= 2 && c <= 1)) {
                    setCell(g, s, r, c);
                }
            }
        }
    }
    fillTriIndexTable(g, type == kTetrahedron ? n : 0);
}

inline void press(GameState& g, int slot, int row, int col) {
    g.gestureState = slot;
    g.pressedRow = row;
    g.pressedCol = col;
}

inline TurnRequest release(const GameState& g, int slot, int row, int col) {
    const Point p = cellPoint(slot, row, col);
    return decodeStroke(g, p.x, p.y);
}

inline StickerHit pressAt(const GameState& g, int slot, int row, int col) {
    const Point p = cellPoint(slot, row, col);
    return hitTestPress(g, p.x, p.y);
}

} // namespace testing_layout
} // namespace korvane
