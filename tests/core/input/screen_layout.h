#pragma once

#include <ostream>

#include "input/strokes.h"
#include "model/game_state.h"

namespace korvane {

inline void PrintTo(const TurnRequest& t, std::ostream* os) {
    *os << "{op " << t.op << ", dir " << t.dir << ", layer " << t.layer << ", corner " << t.corner
        << "}";
}

namespace testing_layout {

// Hand-made screen records: each face slot s gets its own region far from the others, starting
// at x = 1000 s; sticker slot (r, c) is the 10-pixel cell at column c and row r of that region.
// The records need not look like a puzzle; they only have to be what a redraw could leave.
inline constexpr int kCell = 10;

inline int originX(int slot) {
    return 1000 * slot;
}
inline int originY(int /*slot*/) {
    return 100;
}

// A point well inside cell (r, c) of slot s, inside both its square and its triangle.
inline Point cellPoint(int slot, int row, int col) {
    return {originX(slot) + col * kCell + 2, originY(slot) + row * kCell + 2};
}

inline void setSquare(Point* p, int x, int y, int side) {
    p[0] = {x, y};
    p[1] = {x + side, y};
    p[2] = {x + side, y + side};
    p[3] = {x, y + side};
}

// A right triangle that covers the top-left half of a square of the given side.
inline void setTriangle(Point* p, int x, int y, int side) {
    p[0] = {x, y};
    p[1] = {x + side, y};
    p[2] = {x, y + side};
}

inline void setCell(GameState& g, int slot, int row, int col, int points) {
    Point* p = g.stickerPoly[slot - 1][row][col].p;
    const int x = originX(slot) + col * kCell;
    const int y = originY(slot) + row * kCell;
    if (points == 4) {
        setSquare(p, x, y, kCell);
    } else {
        setTriangle(p, x, y, kCell - 1);
    }
}

// Cube of level n: slots 1..3 with (n + 1) x (n + 1) square cells inside a square outline.
inline void layOutCube(GameState& g, int n, int sign1, int sign2, int sign3) {
    g.puzzleType = kCube;
    g.size = n;
    g.twoSize = 2 * n;
    const int signs[3] = {sign1, sign2, sign3};
    for (int s = 1; s <= 3; ++s) {
        setSquare(g.faceOutline[s - 1], originX(s), originY(s), (n + 1) * kCell);
        g.faceSign[s - 1] = signs[s - 1];
        for (int r = 0; r <= n; ++r) {
            for (int c = 0; c <= n; ++c) {
                setCell(g, s, r, c, 4);
            }
        }
    }
}

// The frames of every triangle slot as the puzzle build leaves them in triIndexTable.
inline void fillTriIndexTable(GameState& g, int n) {
    for (int r = 0; r <= n; ++r) {
        for (int m = 0; m <= n; ++m) {
            int* e = g.triIndexTable[r][m];
            const int up[8] = {2 * n - 2 * m - 2 * r,     m, 2 * r,     n - m - r,
                               2 * n - 2 * m - 2 * r - 1, m, 2 * r + 1, n - m - r - 1};
            for (int k = 0; k < 8; ++k) {
                e[k] = up[k];
            }
        }
    }
}

// Tetrahedron of level n: slots 1..4, every face facing the viewer, triangles (r, c) for
// columns 0..2n-2r inside a triangular outline that covers the whole region.
inline void layOutTetrahedron(GameState& g, int n) {
    g.puzzleType = kTetrahedron;
    g.size = n;
    g.twoSize = 2 * n;
    for (int k = 0; k < kFaces; ++k) {
        g.faceNormal[k][2] = 1.0;
    }
    const int span = 2 * (2 * n + 2) * kCell;
    for (int s = 1; s <= 4; ++s) {
        setTriangle(g.faceOutline[s - 1], originX(s) - 1, originY(s) - 1, span);
        for (int r = 0; r <= n; ++r) {
            for (int c = 0; c <= 2 * n - 2 * r; ++c) {
                setCell(g, s, r, c, 3);
            }
        }
    }
    fillTriIndexTable(g, n);
}

// Piracube: slots 1..3 with a square outline of 4 x 4 cells; the handles are the triangles of
// cells (1, 0), (1, 1), (2, 0), (2, 1), and a non-handle record sits at (0, 0). Every face
// counts as facing the viewer, whichever sign its slot shows.
inline void layOutPiracube(GameState& g, int sign1, int sign2, int sign3) {
    g.puzzleType = kPiracube;
    g.size = 3.0;
    g.twoSize = 6.0;
    const int signs[3] = {sign1, sign2, sign3};
    for (int k = 0; k < kFaces; ++k) {
        g.faceNormal[k][2] = 1.0;
    }
    for (int s = 1; s <= 3; ++s) {
        setSquare(g.faceOutline[s - 1], originX(s), originY(s), 4 * kCell);
        g.faceSign[s - 1] = signs[s - 1];
        setCell(g, s, 0, 0, 3);
        for (int r = 1; r <= 2; ++r) {
            for (int c = 0; c <= 1; ++c) {
                setCell(g, s, r, c, 3);
            }
        }
    }
}

inline void press(GameState& g, int slot, int row, int col) {
    g.gestureState = slot;
    g.pressedRow = row;
    g.pressedCol = col;
}

} // namespace testing_layout
} // namespace korvane
