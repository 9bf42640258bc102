#include <algorithm>

#include "render/colour_aid.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/puzzle_drawing.h"
#include "render/sticker.h"

namespace korvane {

namespace {

// The axis (1..4) along which each index of a face's triangles counts, by slot - 1, in the order:
// the index that is 0 for every triangle (the axis whose end face this is), the row a, the pair m,
// the diagonal. Always: each row is a permutation of the four axes.
constexpr int kTetraIndexAxes[kFaceSlots][4] = {
    {1, 2, 3, 4},
    {2, 1, 4, 3},
    {3, 1, 2, 4},
    {4, 1, 3, 2},
};

// The cut surfaces of each axis, [turnAxis - 1]: the axis's apex corner and the three other
// corners in polygon order; depth K lies K/n of the way from each corner to the apex.
struct TetraCut {
    int apex;
    int from[3];
};
constexpr TetraCut kTetraCuts[4] = {
    {1, {3, 0, 2}},
    {0, {2, 1, 3}},
    {2, {3, 1, 0}},
    {3, {0, 1, 2}},
};

// What a pass draws of each face: every triangle with its record, or those of one layer.
struct TetraSelection {
    bool wholePuzzle;
    int axis;
    int layer;
};

int indexAlong(int slotIndex, int axis, int a, int m, bool inverted, int level) {
    const int indices[4] = {0, a, m, level - m - a - (inverted ? 1 : 0)};
    for (int i = 0; i < 4; ++i) {
        if (kTetraIndexAxes[slotIndex][i] == axis) {
            return indices[i];
        }
    }
    return -1;
}

// P(u, v) = Q0 + (Q1 - Q0) u / n + (Q2 - Q0) v / n, truncated at the end.
Point trianglePoint(const Point* q, double n, int u, int v) {
    return {truncToPixel(q[0].x + static_cast<double>(q[1].x - q[0].x) * u / n +
                         static_cast<double>(q[2].x - q[0].x) * v / n),
            truncToPixel(q[0].y + static_cast<double>(q[1].y - q[0].y) * u / n +
                         static_cast<double>(q[2].y - q[0].y) * v / n)};
}

// One pass over a face: the upright triangles (entries 2m) or the inverted ones (2m + 1).
void drawTriangles(const Puzzle& g, const View& shown, Canvas& canvas, int slotIndex,
                   const Point* q, int brightness, bool inverted, const TetraSelection& selection,
                   ScreenRecords* records) {
    const int level = tetraLevel(g);
    const double n = level + 1;
    const int face = kTetraFaceSlots[slotIndex].colourFace;
    for (int m = 0; m <= level; ++m) {
        for (int a = 0; a <= level - m; ++a) {
            if (inverted && a >= level - m) {
                continue;
            }
            if (!selection.wholePuzzle &&
                indexAlong(slotIndex, selection.axis, a, m, inverted, level) != selection.layer) {
                continue;
            }
            const Point cell[3] = {inverted ? trianglePoint(q, n, a + 1, m + 1)
                                            : trianglePoint(q, n, a, m),
                                   trianglePoint(q, n, a + 1, m), trianglePoint(q, n, a, m + 1)};
            const int b = 2 * m + (inverted ? 1 : 0);
            StickerScreen* record =
                records != nullptr ? &records->stickerPoly[slotIndex][a][b] : nullptr;
            paintSticker(canvas, cell, 3, Inset::TetraTriangle, kTetrahedron,
                         g.stickerColour[a][b][face], brightness, shown, record);
        }
    }
}

void drawTetraFaces(const Puzzle& g, const View& view, Canvas& canvas,
                    const TetraSelection& selection, ScreenRecords* records) {
    for (int slotIndex = 0; slotIndex < kFaceSlots; ++slotIndex) {
        const TetraFaceSlot& slot = kTetraFaceSlots[slotIndex];
        const double nz = g.faceNormal[slot.normal][2];
        if (!faceVisible(kTetrahedron, nz)) {
            continue;
        }
        Point q[3];
        for (int i = 0; i < 3; ++i) {
            const double* c = g.corner[slot.outline[i]];
            q[i] = projectParallel(view, c[0], c[1]);
        }
        if (records != nullptr) {
            std::copy(q, q + 3, records->faceOutline[slotIndex]);
        }
        const int brightness = faceBrightness(kTetrahedron, nz);
        drawTriangles(g, view, canvas, slotIndex, q, brightness, false, selection, records);
        drawTriangles(g, view, canvas, slotIndex, q, brightness, true, selection, records);
    }
}

} // namespace

void drawTetrahedron(const Puzzle& g, const View& view, Canvas& canvas, ScreenRecords& records) {
    drawTetraFaces(g, view, canvas, {true, 0, 0}, &records);
}

void drawTetrahedronPiece(const Puzzle& g, const View& view, const Move& move, int piece,
                          Canvas& canvas) {
    const int axis = move.axis;
    if (move.kind != Move::Kind::Axis || axis < 1 || axis > 4) {
        return;
    }
    const int level = tetraLevel(g);
    const PieceCode code = decodePieceCode(piece, level);
    if (code.kind == PieceCode::Cut) {
        Point corners[4];
        for (int i = 0; i < 4; ++i) {
            corners[i] = projectParallel(view, g.corner[i][0], g.corner[i][1]);
        }
        const TetraCut& cut = kTetraCuts[axis - 1];
        const CutEdge edges[3] = {
            {cut.from[0], cut.apex}, {cut.from[1], cut.apex}, {cut.from[2], cut.apex}};
        drawCut(canvas, corners, edges, 3, code.index, level + 1);
    } else if (code.kind == PieceCode::Layer) {
        drawTetraFaces(g, view, canvas, {false, axis, code.index}, nullptr);
    }
}

} // namespace korvane
