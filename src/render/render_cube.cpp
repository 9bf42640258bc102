#include <algorithm>

#include "render/colour_aid.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/puzzle_drawing.h"
#include "render/sticker.h"

namespace korvane {

namespace {

// Which stickers of a face lie in one layer of a turn axis: the whole face when that layer holds
// the face (layer 0 or layer N), otherwise the row a or the column b equal to the layer.
enum class LayerRule { WholeIfFirst, WholeIfLast, Row, Column };

// [face][turnAxis - 1]. Always: each face is whole for exactly one axis, the axis it ends.
constexpr LayerRule kCubeLayerRules[kFaces][3] = {
    {LayerRule::WholeIfFirst, LayerRule::Column, LayerRule::Row},
    {LayerRule::WholeIfLast, LayerRule::Column, LayerRule::Row},
    {LayerRule::Column, LayerRule::WholeIfFirst, LayerRule::Row},
    {LayerRule::Column, LayerRule::WholeIfLast, LayerRule::Row},
    {LayerRule::Column, LayerRule::Row, LayerRule::WholeIfLast},
    {LayerRule::Column, LayerRule::Row, LayerRule::WholeIfFirst},
};

// The four cube edges parallel to each turn axis, [turnAxis - 1], each running from the face
// that layer 0 holds to the opposite face, in polygon order.
constexpr CutEdge kCubeCutEdges[3][4] = {
    {{0, 4}, {1, 5}, {3, 7}, {2, 6}},
    {{0, 2}, {1, 3}, {5, 7}, {4, 6}},
    {{0, 1}, {2, 3}, {6, 7}, {4, 5}},
};

// What a pass draws of each face: every sticker (the full redraw, which stores the records) or
// the stickers of one layer of an axis.
struct CubeSelection {
    bool wholePuzzle;
    int axis;
    int layer;
};

bool inLayer(LayerRule rule, int a, int b, int layer, int level) {
    switch (rule) {
    case LayerRule::WholeIfFirst:
        return layer == 0;
    case LayerRule::WholeIfLast:
        return layer == level;
    case LayerRule::Row:
        return a == layer;
    case LayerRule::Column:
        return b == layer;
    }
    return false;
}

// S(u, v): E(u) on the edge Q0-Q3 and G(u) on the edge Q1-Q2, each a whole pixel, and S the
// point v / n of the way from E to G; every step lands on whole pixels, as the outline does.
Point cellCorner(const Point* q, double n, int u, int v) {
    return pointBetween(pointBetween(q[0], q[3], u, n), pointBetween(q[1], q[2], u, n), v, n);
}

void drawCubeFace(const Puzzle& g, Canvas& canvas, const CubeFaceView& view,
                  const CubeSelection& selection, ScreenRecords* records) {
    const int level = cubeLevel(g);
    const double n = level + 1;
    for (int a = 0; a <= level; ++a) {
        for (int b = 0; b <= level; ++b) {
            if (!selection.wholePuzzle && !inLayer(kCubeLayerRules[view.face][selection.axis - 1],
                                                   a, b, selection.layer, level)) {
                continue;
            }
            const Point cell[4] = {cellCorner(view.q, n, b + 1, a), cellCorner(view.q, n, b, a),
                                   cellCorner(view.q, n, b, a + 1),
                                   cellCorner(view.q, n, b + 1, a + 1)};
            StickerScreen* record =
                records != nullptr ? &records->stickerPoly[view.slot - 1][a][b] : nullptr;
            paintSticker(canvas, cell, 4, Inset::CubeCell, kCube, g.stickerColour[a][b][view.face],
                         view.brightness, *view.shown, record);
        }
    }
}

void drawCubeFaces(const Puzzle& g, const View& v, Canvas& canvas, const CubeSelection& selection,
                   ScreenRecords* records) {
    for (int face = 0; face < kFaces; ++face) {
        CubeFaceView view{};
        if (viewCubeFace(g, v, face, view)) {
            if (records != nullptr) {
                recordCubeFace(view, *records);
            }
            drawCubeFace(g, canvas, view, selection, records);
        }
    }
}

} // namespace

bool viewCubeFace(const Puzzle& g, const View& v, int face, CubeFaceView& view) {
    const double nz = g.faceNormal[face][2];
    if (!faceVisible(g.puzzleType, nz)) {
        return false;
    }
    const CubeFaceSlot& slot = kCubeFaceSlots[face];
    view.face = face;
    view.slot = slot.slot;
    for (int i = 0; i < 4; ++i) {
        const double* c = g.corner[slot.outline[i]];
        view.q[i] = projectPerspective(v, c[0], c[1], c[2]);
    }
    view.brightness = faceBrightness(g.puzzleType, nz);
    view.shown = &v;
    return true;
}

void recordCubeFace(const CubeFaceView& face, ScreenRecords& records) {
    std::copy(face.q, face.q + 4, records.faceOutline[face.slot - 1]);
    records.faceSign[face.slot - 1] = kCubeFaceSlots[face.face].sign;
}

void drawCube(const Puzzle& g, const View& view, Canvas& canvas, ScreenRecords& records) {
    // A slot whose face is not drawn must not catch the stylus with an old outline.
    for (int slot = 0; slot < 3; ++slot) {
        std::fill(records.faceOutline[slot], records.faceOutline[slot] + 4, Point{-1, -1});
    }
    drawCubeFaces(g, view, canvas, {true, 0, 0}, &records);
}

void drawCubePiece(const Puzzle& g, const View& view, const Move& move, int piece, Canvas& canvas) {
    const int axis = move.axis;
    if (move.kind != Move::Kind::Axis || axis < 1 || axis > 3) {
        return;
    }
    const int level = cubeLevel(g);
    const PieceCode code = decodePieceCode(piece, level);
    if (code.kind == PieceCode::Cut) {
        Point corners[kCorners];
        for (int i = 0; i < kCorners; ++i) {
            corners[i] = projectPerspective(view, g.corner[i][0], g.corner[i][1], g.corner[i][2]);
        }
        drawCut(canvas, corners, kCubeCutEdges[axis - 1], 4, code.index, level + 1);
    } else if (code.kind == PieceCode::Layer) {
        drawCubeFaces(g, view, canvas, {false, axis, code.index}, nullptr);
    }
}

} // namespace korvane
