#include "input/sticker_scan.h"

#include "input/point_in_polygon.h"
#include "render/projection.h"

namespace korvane {

namespace {

// The Piracube's turn handles: its four corner triangles, in the order they are scanned.
struct Cell {
    int row;
    int col;
};
constexpr Cell kPiracubeHandles[] = {{1, 0}, {1, 1}, {2, 0}, {2, 1}};

bool validSlot(int slot) {
    return slot >= 1 && slot <= kFaceSlots;
}

int stickerPoints(int puzzleType) {
    return puzzleType == kCube ? 4 : 3;
}

StickerHit scanGrid(const GameState& g, int puzzleType, int slot, int x, int y) {
    const int n = gridLevel(g, puzzleType);
    for (int row = 0; row <= n; ++row) {
        const int lastCol = puzzleType == kTetrahedron ? 2 * n - 2 * row : n;
        for (int col = 0; col <= lastCol; ++col) {
            if (inSticker(g, puzzleType, slot, row, col, x, y)) {
                return {slot, row, col};
            }
        }
    }
    return {};
}

StickerHit scanHandles(const GameState& g, int slot, int x, int y) {
    for (const Cell& h : kPiracubeHandles) {
        if (inSticker(g, kPiracube, slot, h.row, h.col, x, y)) {
            return {slot, h.row, h.col};
        }
    }
    return {};
}

int pressSlots(int puzzleType) {
    switch (puzzleType) {
    case kCube:
    case kPiracube:
        return 3;
    case kTetrahedron:
        return 4;
    default:
        return 0;
    }
}

} // namespace

bool slotOnScreen(const GameState& g, int puzzleType, int slot) {
    if (!validSlot(slot)) {
        return false;
    }
    if (puzzleType == kTetrahedron) {
        return faceVisible(kTetrahedron, g.faceNormal[kTetraFaceSlots[slot - 1].normal][2]);
    }
    if (puzzleType != kPiracube || slot > 3) {
        return true;
    }
    for (int face = 0; face < kFaces; ++face) {
        const CubeFaceSlot& f = kCubeFaceSlots[face];
        if (f.slot == slot && f.sign == g.faceSign[slot - 1]) {
            return faceVisible(kPiracube, g.faceNormal[face][2]);
        }
    }
    return false;
}

int outlinePoints(int puzzleType) {
    return puzzleType == kTetrahedron ? 3 : 4;
}

int gridLevel(const GameState& g, int puzzleType) {
    const int limit = puzzleType == kTetrahedron ? (kCells - 1) / 2 : kCells - 1;
    if (!(g.size >= 0.0)) {
        return -1;
    }
    return g.size >= limit ? limit : static_cast<int>(g.size);
}

bool inFaceOutline(const GameState& g, int puzzleType, int slot, int x, int y) {
    return validSlot(slot) &&
           pointInPolygon(g.faceOutline[slot - 1], outlinePoints(puzzleType), x, y);
}

bool inSticker(const GameState& g, int puzzleType, int slot, int row, int col, int x, int y) {
    if (!validSlot(slot) || row < 0 || row >= kCells || col < 0 || col >= kCells) {
        return false;
    }
    return pointInPolygon(g.stickerPoly[slot - 1][row][col].p, stickerPoints(puzzleType), x, y);
}

StickerHit findSticker(const GameState& g, int puzzleType, int slot, int x, int y) {
    switch (puzzleType) {
    case kCube:
    case kTetrahedron:
        return scanGrid(g, puzzleType, slot, x, y);
    case kPiracube:
        return scanHandles(g, slot, x, y);
    default:
        return {};
    }
}

StickerHit hitTestPress(const GameState& g, int x, int y) {
    const int slots = pressSlots(g.puzzleType);
    for (int slot = 1; slot <= slots; ++slot) {
        if (!slotOnScreen(g, g.puzzleType, slot) || !inFaceOutline(g, g.puzzleType, slot, x, y)) {
            continue;
        }
        const StickerHit hit = findSticker(g, g.puzzleType, slot, x, y);
        if (hit.slot != 0) {
            return hit;
        }
    }
    return {};
}

} // namespace korvane
