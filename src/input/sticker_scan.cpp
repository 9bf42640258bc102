#include "input/sticker_scan.h"

#include "input/point_in_polygon.h"
#include "input/strokes.h"
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

bool tetraSlotShown(const StylusTarget& g, int slot) {
    return faceVisible(kTetrahedron, g.puzzle.faceNormal[kTetraFaceSlots[slot - 1].normal][2]);
}

bool cubeSlotShown(const StylusTarget&, int) {
    return true;
}

// The Piracube's slot names its face by faceSign.
bool piracubeSlotShown(const StylusTarget& g, int slot) {
    if (slot > 3) {
        return true;
    }
    for (int face = 0; face < kFaces; ++face) {
        const CubeFaceSlot& f = kCubeFaceSlots[face];
        if (f.slot == slot && f.sign == g.screen.faceSign[slot - 1]) {
            return faceVisible(kPiracube, g.puzzle.faceNormal[face][2]);
        }
    }
    return false;
}

// How the stylus meets each kind: the face slots a press may hit, the corners of a face outline
// and of a sticker record, whether only the turn handles are scanned (else every row of the
// grid, triangular or square), which slots the last picture showed, and the stroke rules.
struct KindStrokes {
    int puzzleType;
    int pressSlots;
    int outlinePoints;
    int stickerPoints;
    bool handlesOnly;
    bool triangular;
    bool (*slotShown)(const StylusTarget&, int slot);
    Move (*decode)(const StylusTarget&, int x, int y);
};
constexpr KindStrokes kKindStrokes[] = {
    {kCube, 3, 4, 4, false, false, cubeSlotShown, decodeCubeStroke},
    {kTetrahedron, 4, 3, 3, false, true, tetraSlotShown, decodeTetraStroke},
    {kPiracube, 3, 4, 3, true, false, piracubeSlotShown, decodePiracubeStroke},
};

const KindStrokes* strokesOf(int puzzleType) {
    for (const KindStrokes& kind : kKindStrokes) {
        if (kind.puzzleType == puzzleType) {
            return &kind;
        }
    }
    return nullptr;
}

StickerHit scanGrid(const StylusTarget& g, int puzzleType, int slot, int x, int y) {
    const int n = gridLevel(g, puzzleType);
    const bool triangular = strokesOf(puzzleType)->triangular;
    for (int row = 0; row <= n; ++row) {
        const int lastCol = triangular ? 2 * n - 2 * row : n;
        for (int col = 0; col <= lastCol; ++col) {
            if (inSticker(g, puzzleType, slot, row, col, x, y)) {
                return {slot, row, col};
            }
        }
    }
    return {};
}

StickerHit scanHandles(const StylusTarget& g, int slot, int x, int y) {
    for (const Cell& h : kPiracubeHandles) {
        if (inSticker(g, kPiracube, slot, h.row, h.col, x, y)) {
            return {slot, h.row, h.col};
        }
    }
    return {};
}

} // namespace

bool slotOnScreen(const StylusTarget& g, int puzzleType, int slot) {
    const KindStrokes* kind = strokesOf(puzzleType);
    return validSlot(slot) && (kind == nullptr || kind->slotShown(g, slot));
}

int outlinePoints(int puzzleType) {
    const KindStrokes* kind = strokesOf(puzzleType);
    return kind != nullptr ? kind->outlinePoints : 4;
}

int gridLevel(const StylusTarget& g, int puzzleType) {
    const KindStrokes* kind = strokesOf(puzzleType);
    const int limit = kind != nullptr && kind->triangular ? (kCells - 1) / 2 : kCells - 1;
    if (!(g.puzzle.size >= 0.0)) {
        return -1;
    }
    return g.puzzle.size >= limit ? limit : static_cast<int>(g.puzzle.size);
}

bool inFaceOutline(const StylusTarget& g, int puzzleType, int slot, int x, int y) {
    return validSlot(slot) &&
           pointInPolygon(g.screen.faceOutline[slot - 1], outlinePoints(puzzleType), x, y);
}

bool inSticker(const StylusTarget& g, int puzzleType, int slot, int row, int col, int x, int y) {
    const KindStrokes* kind = strokesOf(puzzleType);
    if (kind == nullptr || !validSlot(slot) || row < 0 || row >= kCells || col < 0 ||
        col >= kCells) {
        return false;
    }
    return pointInPolygon(g.screen.stickerPoly[slot - 1][row][col].p, kind->stickerPoints, x, y);
}

StickerHit findSticker(const StylusTarget& g, int puzzleType, int slot, int x, int y) {
    const KindStrokes* kind = strokesOf(puzzleType);
    if (kind == nullptr) {
        return {};
    }
    return kind->handlesOnly ? scanHandles(g, slot, x, y) : scanGrid(g, puzzleType, slot, x, y);
}

StickerHit hitTestPress(const StylusTarget& g, int x, int y) {
    const int type = g.puzzle.puzzleType;
    const KindStrokes* kind = strokesOf(type);
    for (int slot = 1; kind != nullptr && slot <= kind->pressSlots; ++slot) {
        if (!slotOnScreen(g, type, slot) || !inFaceOutline(g, type, slot, x, y)) {
            continue;
        }
        const StickerHit hit = findSticker(g, type, slot, x, y);
        if (hit.slot != 0) {
            return hit;
        }
    }
    return {};
}

Move decodeStroke(const StylusTarget& g, int x, int y) {
    const KindStrokes* kind = strokesOf(g.puzzle.puzzleType);
    if (g.gesture.gestureState == 0 || kind == nullptr) {
        return {};
    }
    return kind->decode(g, x, y);
}

} // namespace korvane
